# Runs lupdate over Velto's sources into a copy of the .ts file, as the update_translations target
# does. The copy must come out as it went in: else a text of the sources has no entry in the .ts
# file yet, or an entry's text is gone from the sources.
# Run as: cmake -DLUPDATE=<lupdate> -DPROJECT=<velto_gui_project.cmake> -DTS=<velto_en.ts>
#               -DSCRATCH=<folder> -DOPTIONS=<lupdate options> -P CheckTranslations.cmake
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH})
get_filename_component(ts_name ${TS} NAME)
set(copy ${SCRATCH}/${ts_name})
file(COPY_FILE ${TS} ${copy})

include(${PROJECT})
# The project file names the real .ts file; this one names the copy.
set(sources "")
foreach(source IN LISTS lupdate_sources)
    if(EXISTS "${source}")
        list(APPEND sources "\"${source}\"")
    endif()
endforeach()
set(includes "")
foreach(folder IN LISTS lupdate_include_paths)
    list(APPEND includes "\"${folder}\"")
endforeach()
list(JOIN sources ", " sources)
list(JOIN includes ", " includes)
file(WRITE ${SCRATCH}/project.json "{\"projectFile\": \"${lupdate_project_file}\", \"includePaths\": [${includes}], \"sources\": [${sources}], \"translations\": [\"${copy}\"]}\n")

execute_process(COMMAND ${LUPDATE} -project ${SCRATCH}/project.json ${OPTIONS}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "lupdate failed:\n${output}")
endif()
execute_process(COMMAND diff -u ${TS} ${copy} RESULT_VARIABLE differ OUTPUT_VARIABLE diff)
if(NOT differ EQUAL 0)
    message(FATAL_ERROR "${ts_name} does not hold the texts of the sources as they are; "
                        "build the target update_translations and translate what it marks unfinished:\n${diff}")
endif()
message(STATUS "${ts_name} holds every text of the sources")
