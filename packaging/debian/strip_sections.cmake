# Run by cpack on the staged files before it packages them: removes the sections that only name
# the compiler, as Debian does for its binaries. The debug symbols stay for cpack to split into
# the dbgsym package.
find_program(OBJCOPY objcopy REQUIRED)
file(GLOB_RECURSE programs LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/*"
  "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/lib/corsaro270/*.so")
if(NOT programs)
  message(FATAL_ERROR "strip_sections: no programs staged in ${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
endif()
foreach(program IN LISTS programs)
  execute_process(COMMAND ${OBJCOPY} --remove-section=.comment --remove-section=.note ${program}
    RESULT_VARIABLE result ERROR_VARIABLE error)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "strip_sections: ${program}: ${error}")
  endif()
endforeach()
