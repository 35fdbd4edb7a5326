# Copies SRC to DST unless DST exists: the settings file next to the
# executables belongs to the user once the program has saved into it.
if(NOT EXISTS "${DST}")
    configure_file("${SRC}" "${DST}" COPYONLY)
endif()
