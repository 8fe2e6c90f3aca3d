# Copies the page's files and the engine module into SITE_DIR, and writes into
# the service worker the files it keeps with the SHA-256 digest of each, and a
# version made of them, so that a changed site replaces what browsers keep and
# the service worker can tell a file of another version.
file(REMOVE_RECURSE ${SITE_DIR})
file(MAKE_DIRECTORY ${SITE_DIR})
file(GLOB page_files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
foreach(name IN LISTS page_files)
  if(NOT name STREQUAL "sw.js")
    file(COPY ${SOURCE_DIR}/${name} DESTINATION ${SITE_DIR})
  endif()
endforeach()
file(COPY ${MODULE_DIR}/engine.js ${MODULE_DIR}/engine.wasm DESTINATION ${SITE_DIR})

# The file types read, made by the build from readout/file_types.txt: the
# page's module, and the file input's accept attribute from it.
file(COPY ${FILE_TYPES_DIR}/file-types.js DESTINATION ${SITE_DIR})
file(READ ${SITE_DIR}/file-types.js file_types_module)
string(REGEX MATCH "FILE_ACCEPT = '([^']*)'" unused "${file_types_module}")
file(READ ${SITE_DIR}/index.html page)
string(REPLACE "@FRAMETALLY_FILE_ACCEPT@" "${CMAKE_MATCH_1}" page "${page}")
file(WRITE ${SITE_DIR}/index.html "${page}")

file(GLOB site_files RELATIVE ${SITE_DIR} ${SITE_DIR}/*)
list(SORT site_files)
set(digests "")
set(quoted "")
foreach(name IN LISTS site_files)
  file(SHA256 ${SITE_DIR}/${name} digest)
  string(APPEND digests "${name}:${digest}\n")
  list(APPEND quoted "'${name}': '${digest}'")
endforeach()
string(SHA256 version "${digests}")
string(SUBSTRING ${version} 0 16 version)
list(JOIN quoted ", " file_list)
file(READ ${SOURCE_DIR}/sw.js service_worker)
string(REPLACE "@SITE_VERSION@" "${version}" service_worker "${service_worker}")
string(REPLACE "@SITE_FILES@" "${file_list}" service_worker "${service_worker}")
file(WRITE ${SITE_DIR}/sw.js "${service_worker}")
