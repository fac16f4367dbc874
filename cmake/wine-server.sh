#!/bin/sh
# The Wine server of the Windows tests, for the Wine folder that WINEPREFIX names.
#   wine-server.sh start   sets the folder up at the first start and keeps one server running for the tests,
#                          so that tests started side by side neither race to create the folder nor each wait
#                          for a server of their own to start and stop. It stops by itself 30 seconds after
#                          the last program ends.
#   wine-server.sh stop    stops it now, if it still runs.
# Nothing goes to the output: the server and Wine's own programs outlive this script and would hold the
# output of the test open until they end.
set -eu
case "$1" in
start)
    mkdir -p "$WINEPREFIX" # the server works in it
    wineserver -p30 </dev/null >/dev/null 2>&1
    wineboot --init </dev/null >/dev/null 2>&1
    ;;
stop)
    wineserver -k </dev/null >/dev/null 2>&1 || true
    ;;
esac
