# Install rules and the CMake package: libraries, public headers, tools, data, ZorvelConfig.cmake
# (find_package(Zorvel) -> Zorvel::core, Zorvel::print, Zorvel::widgets) and zorvel-core.pc.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ZORVEL_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/Zorvel")

# ---- Libraries --------------------------------------------------------------------------------

# The names consumers use, also for a build that adds this project as a subdirectory.
add_library(Zorvel::core ALIAS zorvel_core)
add_library(Zorvel::print ALIAS zorvel_print)
add_library(Zorvel::widgets ALIAS zorvel_widgets)

# The public headers need C++20; consumers get it with the target.
target_compile_features(zorvel_core PUBLIC cxx_std_20)
set_target_properties(zorvel_core PROPERTIES EXPORT_NAME core VERSION ${PROJECT_VERSION} SOVERSION 0)
# The print and widgets libraries find the core beside them: a RUNPATH serves only the object that carries it.
set_target_properties(zorvel_print PROPERTIES EXPORT_NAME print VERSION ${PROJECT_VERSION} SOVERSION 0
                                              INSTALL_RPATH "$ORIGIN")
set_target_properties(zorvel_widgets PROPERTIES EXPORT_NAME widgets VERSION ${PROJECT_VERSION} SOVERSION 0
                                                INSTALL_RPATH "$ORIGIN")

# One export set per library, so that a core-only user needs none of the others' dependencies.
foreach(library core print widgets)
  install(TARGETS zorvel_${library}
          EXPORT Zorvel_${library}_Targets
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
          ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
          RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
          # The headers include each other as "foundation/ZVTypes.h"; <zorvel/document/ZVCustomLab.h> works too.
          INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zorvel ${CMAKE_INSTALL_INCLUDEDIR})
endforeach()

# Static, the widgets library takes its compiled-in resources (the starter catalogue) from object
# libraries that qt_add_resources makes beside it; its users link them too.
function(zorvel_install_resource_objects)
  get_property(targets DIRECTORY dialogs PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "OBJECT_LIBRARY")
      install(TARGETS ${target} EXPORT Zorvel_widgets_Targets OBJECTS DESTINATION ${CMAKE_INSTALL_LIBDIR}/zorvel)
    endif()
  endforeach()
endfunction()
zorvel_install_resource_objects()

# ---- Public headers ---------------------------------------------------------------------------

# Every header the three libraries are built from, under include/zorvel/<folder>/, except those
# only their own sources include.
function(zorvel_install_headers)
  set(private_headers foundation/ZVBarcodeTables.h editor/ZVLayerCache.h)
  foreach(library zorvel_core zorvel_print zorvel_widgets)
    get_target_property(sources ${library} SOURCES)
    foreach(source IN LISTS sources)
      if(NOT source MATCHES "\\.h$")
        continue()
      endif()
      cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY "${PROJECT_SOURCE_DIR}" NORMALIZE)
      cmake_path(RELATIVE_PATH source BASE_DIRECTORY "${PROJECT_SOURCE_DIR}" OUTPUT_VARIABLE header)
      if(NOT header IN_LIST private_headers)
        cmake_path(GET header PARENT_PATH folder)
        install(FILES "${source}" DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zorvel/${folder})
      endif()
    endforeach()
  endforeach()
endfunction()
zorvel_install_headers()
# The export macros of the libraries (cmake/ZorvelExport.cmake), found as "zorvel_core_export.h".
get_property(ZORVEL_EXPORT_HEADERS GLOBAL PROPERTY ZORVEL_EXPORT_HEADERS)
install(FILES ${ZORVEL_EXPORT_HEADERS} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zorvel)

# ---- Tools and data ---------------------------------------------------------------------------

# The tools run from the prefix: the libraries are found relative to the executable.
file(RELATIVE_PATH ZORVEL_BIN_TO_LIB "${CMAKE_INSTALL_FULL_BINDIR}" "${CMAKE_INSTALL_FULL_LIBDIR}")
set_target_properties(zorvel zorvel-demo PROPERTIES INSTALL_RPATH "$ORIGIN/${ZORVEL_BIN_TO_LIB}")
install(TARGETS zorvel zorvel-demo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The starter label catalogue and a sample translation file (IniTranslate) to copy from.
install(FILES data/labels.dls data/translations/zorvel-es.ini DESTINATION ${CMAKE_INSTALL_DATADIR}/zorvel)
# The stock catalogue compiled into zorvel_print comes from gLabels' template database: its licence
# and attribution travel with the library.
install(FILES data/stocks/glabels/NOTICE DESTINATION ${CMAKE_INSTALL_DATADIR}/zorvel RENAME NOTICE.glabels-templates)

# ---- CMake package ----------------------------------------------------------------------------

install(EXPORT Zorvel_core_Targets NAMESPACE Zorvel:: FILE ZorvelCoreTargets.cmake
        DESTINATION ${ZORVEL_INSTALL_CMAKEDIR})
install(EXPORT Zorvel_print_Targets NAMESPACE Zorvel:: FILE ZorvelPrintTargets.cmake
        DESTINATION ${ZORVEL_INSTALL_CMAKEDIR})
install(EXPORT Zorvel_widgets_Targets NAMESPACE Zorvel:: FILE ZorvelWidgetsTargets.cmake
        DESTINATION ${ZORVEL_INSTALL_CMAKEDIR})

get_target_property(ZORVEL_CORE_TYPE zorvel_core TYPE)

configure_package_config_file(cmake/ZorvelConfig.cmake.in
                              "${PROJECT_BINARY_DIR}/ZorvelConfig.cmake"
                              INSTALL_DESTINATION ${ZORVEL_INSTALL_CMAKEDIR})
write_basic_package_version_file("${PROJECT_BINARY_DIR}/ZorvelConfigVersion.cmake"
                                 VERSION ${PROJECT_VERSION}
                                 COMPATIBILITY SameMajorVersion)
install(FILES "${PROJECT_BINARY_DIR}/ZorvelConfig.cmake" "${PROJECT_BINARY_DIR}/ZorvelConfigVersion.cmake"
        DESTINATION ${ZORVEL_INSTALL_CMAKEDIR})

# ---- pkg-config -------------------------------------------------------------------------------

# The prefix is taken from where the .pc file lies, so the installed tree can be moved
# (cmake --install --prefix DIR included).
file(RELATIVE_PATH ZORVEL_PC_TO_PREFIX "${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig" "${CMAKE_INSTALL_PREFIX}")
string(REGEX REPLACE "/$" "" ZORVEL_PC_TO_PREFIX "${ZORVEL_PC_TO_PREFIX}")
configure_file(cmake/zorvel-core.pc.in "${PROJECT_BINARY_DIR}/zorvel-core.pc" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/zorvel-core.pc" DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
