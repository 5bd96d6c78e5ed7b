# Read by cpack once per generator of the Windows build: the installer is
# named as one, beside the ZIP of the same version.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
endif()
