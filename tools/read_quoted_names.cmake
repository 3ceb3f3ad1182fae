# read_quoted_names(<out> <header> <array> <name regex> <expected count>): the quoted names of
# the initialiser "<array> = {...}" in a C++ header, in order; fails unless there are exactly
# the expected number.
function(read_quoted_names out header array pattern expected)
  file(READ ${header} text)
  string(REGEX MATCH "${array} = {[^}]*}" block "${text}")
  string(REGEX MATCHALL "\"${pattern}\"" quoted "${block}")
  set(names "")
  foreach(q ${quoted})
    string(REPLACE "\"" "" n "${q}")
    list(APPEND names "${n}")
  endforeach()
  list(LENGTH names count)
  if(NOT count EQUAL ${expected})
    message(FATAL_ERROR "expected ${expected} names in ${array} of ${header}, read ${count}")
  endif()
  set(${out} "${names}" PARENT_SCOPE)
endfunction()
