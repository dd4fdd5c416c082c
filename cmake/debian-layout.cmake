# Run by CPack on its staging tree before it builds the .deb (CPACK_PRE_BUILD_SCRIPTS in
# package.cmake): Debian wants the man pages compressed, and the licence and the changelog in
# the doc folder under the names it reads, and no compiler notes in the programs.

if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
set(doc "${root}/${CPACK_ORVELA_DOC_DIR}")

# gzip -9n: best compression and no time stamp, so that a rebuild is the same file.
file(GLOB_RECURSE pages "${root}/${CPACK_ORVELA_MAN_DIR}/*.[1-9]")
foreach(page IN LISTS pages)
  execute_process(COMMAND gzip -9nf "${page}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()

# CPack's strip keeps the compiler's notes, which Debian's own tools take out too.
file(GLOB programs "${root}/bin/*")
foreach(program IN LISTS programs)
  execute_process(COMMAND "${CPACK_ORVELA_STRIP}" --remove-section=.comment "${program}"
    COMMAND_ERROR_IS_FATAL ANY)
endforeach()

# The GPL's full text is on every Debian system (/usr/share/common-licenses/GPL-3), which the
# copyright file names.
file(REMOVE "${doc}/LICENSE")
file(COPY_FILE "${CPACK_ORVELA_COPYRIGHT}" "${doc}/copyright")
file(COPY_FILE "${CPACK_ORVELA_CHANGELOG}" "${doc}/changelog")
execute_process(COMMAND gzip -9nf "${doc}/changelog" COMMAND_ERROR_IS_FATAL ANY)
