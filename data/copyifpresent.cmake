# cmake -DSOURCE=<folder> -DDESTINATION=<folder> -P copyifpresent.cmake
# Copies the folder when it exists; nothing to do otherwise.
if(IS_DIRECTORY "${SOURCE}")
    file(COPY "${SOURCE}/" DESTINATION "${DESTINATION}")
endif()
