# Builds each probe target (CHECKS: "target=header|..."); each must fail because its
# header is out of reach. A probe that compiles, or fails for another reason, is reported.
string(REPLACE "|" ";" checks "${CHECKS}")
foreach(check ${checks})
  string(REPLACE "=" ";" parts ${check})
  list(GET parts 0 target)
  list(GET parts 1 header)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${target}
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  string(REPLACE "." "\\." pattern "${header}")
  if(result EQUAL 0)
    message(SEND_ERROR "${target}: ${header} is within its library's reach")
  elseif(NOT output MATCHES "${pattern}'?: No such file|'${pattern}' file not found")
    message(SEND_ERROR "${target} failed for another reason:\n${output}")
  else()
    message(STATUS "${target}: ${header} out of reach")
  endif()
endforeach()
