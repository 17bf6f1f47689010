# Runs inside CPack after the files are installed into the staging folder and
# before the package is made: Debian wants man pages and the changelog
# compressed (without a timestamp) and the copyright file under /usr/share/doc.
set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
if(NOT IS_DIRECTORY "${root}/usr")
  set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/${CPACK_PACKAGE_NAME}")
endif()
set(doc "${root}/usr/share/doc/${CPACK_PACKAGE_NAME}")
file(MAKE_DIRECTORY "${doc}")
file(COPY_FILE "${CPACK_DC_PACKAGING_DIR}/copyright" "${doc}/copyright")
file(COPY_FILE "${CPACK_DC_PACKAGING_DIR}/changelog" "${doc}/changelog.Debian")
file(GLOB_RECURSE man_pages "${root}/usr/share/man/*.[0-9]")
foreach(file IN LISTS man_pages ITEMS "${doc}/changelog.Debian")
  execute_process(COMMAND gzip -9n "${file}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip failed on ${file}")
  endif()
endforeach()
