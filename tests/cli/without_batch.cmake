# grovex-cli built without SQLite: batch and merge refuse whatever they are given, with the reason on the
# error stream, nothing on the output and exit status 2. `cmake -DCLI=PROGRAM -P without_batch.cmake`.
set(reason "batch and merge are not part of this build: it was made without SQLite.\n")
foreach(arguments "batch;stands.csv;--out;results.sqlite;--regime;thin=thin.txt;-j;2" "merge;all.sqlite;a.sqlite"
                  "batch")
    execute_process(COMMAND ${CLI} ${arguments} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    string(REPLACE "\r" "" err "${err}") # Windows ends the lines of its error stream with CR LF
    if(NOT status EQUAL 2 OR NOT out STREQUAL "" OR NOT err STREQUAL reason)
        message(FATAL_ERROR "grovex-cli ${arguments}: exit status ${status}, output \"${out}\", error \"${err}\"")
    endif()
endforeach()
