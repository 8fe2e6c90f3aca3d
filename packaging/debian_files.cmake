# Runs in CPack once the programs are staged, before the package is made:
# adds the copyright file and the changelog that Debian asks of every package,
# and compresses the manual pages and the changelog as Debian keeps them.
# CPACK_TEMPORARY_INSTALL_DIRECTORY is the staging folder; the package's
# files lie below it under the installation prefix.
set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
if(NOT IS_DIRECTORY "${root}/bin")
  message(FATAL_ERROR "no staged programs in ${root}")
endif()
set(docs "${root}/share/doc/${CPACK_PACKAGE_NAME}")
file(MAKE_DIRECTORY "${docs}")
file(COPY "${CPACK_FRAMETALLY_DEBIAN_DOCS}/copyright" "${CPACK_FRAMETALLY_DEBIAN_DOCS}/changelog" DESTINATION "${docs}"
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

file(GLOB pages "${root}/share/man/man1/*.1")
foreach(file IN LISTS pages ITEMS "${docs}/changelog")
  # -n: no name or time stamp in the archive, so the same input makes the same package.
  execute_process(COMMAND gzip -9nf "${file}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip ${file} failed")
  endif()
endforeach()
