# Installs the build into a fresh prefix and checks that a desktop finds Velto there:
# the program, its metadata helper, its manuals where the help window looks, the man pages, the
# menu entry, the file managers' context-menu entries and the icon.
# Run as: cmake -DBUILD=<build folder> -DPREFIX=<scratch folder> -P CheckInstall.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(path bin/velto libexec/velto/velto-metadata share/velto/help.rtf share/velto/help.en.rtf
             share/man/man1/velto.1.gz share/man/de/man1/velto.1.gz share/applications/de.tollmark.Velto.desktop
             share/kio/servicemenus/de.tollmark.Velto.desktop share/nemo/actions/velto.nemo_action
             share/icons/hicolor/scalable/apps/velto.svg share/icons/hicolor/16x16/apps/velto.png
             share/icons/hicolor/48x48/apps/velto.png share/icons/hicolor/256x256/apps/velto.png
             share/icons/hicolor/48x48/apps/de.tollmark.Velto.png)
    if(NOT EXISTS "${PREFIX}/${path}")
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()
# The menu entry claims no file type: an entry for application/octet-stream would become the
# default program for every file that has no type of its own.
file(STRINGS "${PREFIX}/share/applications/de.tollmark.Velto.desktop" types REGEX "^MimeType")
if(types)
    message(FATAL_ERROR "the menu entry names file types: ${types}")
endif()
find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
    execute_process(COMMAND "${VALIDATE}" "${PREFIX}/share/applications/de.tollmark.Velto.desktop" RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "desktop-file-validate rejects de.tollmark.Velto.desktop")
    endif()
else()
    message(WARNING "desktop-file-validate not found: the menu entry was not validated")
endif()
file(REMOVE_RECURSE "${PREFIX}")
