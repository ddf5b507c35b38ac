# The exit statuses of the shell tests and the test fixtures, sourced by tests/cli/*.sh,
# tests/install/install_embed.sh and tests/support/cups_fixture.sh.
#   0   passed
#   1   failed (fail): the message on stderr
#   2   could not set itself up (bad arguments, no work folder)
#   77  skipped (skip, need): a tool the rest of the case needs is not installed. ctest counts it
#       as skipped, not passed, for the tests that set SKIP_RETURN_CODE to ZORVEL_SKIP_STATUS in
#       tests/CMakeLists.txt; for any other test it is a failure like 1.
# A fixture that exits 77 (cups_fixture.sh without cupsd) leaves the verdict to its caller: the
# printing tests, in shell (tests/cli/printing.sh) and in C++ (tests/support/CupsFixture.h), and
# the PostgreSQL fixtures never skip, so for them a missing server is a failure.
fail() { echo "FAIL: $*" >&2; exit 1; }
skip() { echo "SKIP: $*" >&2; exit 77; }
need() { command -v "$1" > /dev/null 2>&1 || skip "$1 is not installed"; }
