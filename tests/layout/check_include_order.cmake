# Fails when a source file includes a folder above its own. The folders stand in one order:
#   foundation < platform < document < elements < printsupport < controls < editor < inspector
#   < dialogs < demo, designer, cli
# A folder includes itself and the folders below it; the top three include none of each other.
# An include of a folder that has no place in the order fails too.
# Usage: cmake -DSOURCE_DIR=... -P check_include_order.cmake
if(NOT DEFINED SOURCE_DIR)
  message(FATAL_ERROR "check_include_order.cmake: SOURCE_DIR is not set")
endif()

set(ranks foundation=0 platform=1 document=2 elements=3 printsupport=4 controls=5 editor=6
          inspector=7 dialogs=8 demo=9 designer=9 cli=9)
set(folders)
foreach(entry IN LISTS ranks)
  string(REPLACE "=" ";" entry "${entry}")
  list(GET entry 0 folder)
  list(GET entry 1 rank)
  set(rank_${folder} ${rank})
  list(APPEND folders ${folder})
endforeach()

set(violations)
set(scanned 0)
foreach(folder IN LISTS folders)
  file(GLOB_RECURSE sources LIST_DIRECTORIES false RELATIVE "${SOURCE_DIR}"
       "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(source IN LISTS sources)
    math(EXPR scanned "${scanned} + 1")
    file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[A-Za-z_]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" header "${line}")
      string(REGEX REPLACE "/.*" "" target "${header}")
      if(target STREQUAL folder)
        continue()
      endif()
      if(NOT DEFINED rank_${target})
        list(APPEND violations "${source}: includes \"${header}\": ${target}/ has no place in the order")
      elseif(NOT rank_${target} LESS rank_${folder})
        list(APPEND violations "${source}: includes \"${header}\" from ${target}/, which is not below ${folder}/")
      endif()
    endforeach()
  endforeach()
endforeach()

if(scanned EQUAL 0)
  message(FATAL_ERROR "no source file under ${SOURCE_DIR}")
endif()
if(violations)
  list(LENGTH violations count)
  list(JOIN violations "\n" text)
  # Printed as they are: a fatal message would rewrap the lines.
  message(NOTICE "${text}")
  message(FATAL_ERROR "${count} include(s) against the folder order (listed above).")
endif()
message(STATUS "${scanned} files include only their own folder and folders below it")
