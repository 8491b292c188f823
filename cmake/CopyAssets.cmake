# Run as a script: lays out the asset folders in DEST, each with whatever
# the source tree's assets/ holds for it (a folder may still be empty).
foreach(folder IN LISTS FOLDERS)
    file(MAKE_DIRECTORY ${DEST}/${folder})
    if(EXISTS ${SOURCE}/${folder})
        file(COPY ${SOURCE}/${folder}/ DESTINATION ${DEST}/${folder})
    endif()
endforeach()
