# Checks that the core calls none of the C library's transcendental functions: they are not
# correctly rounded and differ between libraries and versions, so a core that called them would
# draw a different drive on another system. The core has its own (world/float_math.h).
# Run as a test: cmake -DNM=<nm> -DLIBRARY=<the core's static library> -P check_float_calls.cmake
if(NOT NM OR NOT LIBRARY)
  message(FATAL_ERROR "usage: cmake -DNM=<nm> -DLIBRARY=<library> -P check_float_calls.cmake")
endif()
execute_process(COMMAND ${NM} --undefined-only ${LIBRARY}
                OUTPUT_VARIABLE _symbols RESULT_VARIABLE _status ERROR_VARIABLE _error)
if(NOT _status EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${LIBRARY}: ${_error}")
endif()
set(_names sin cos tan asin acos atan atan2 sinh cosh tanh exp exp2 expm1 log log2 log10 log1p
    pow cbrt hypot sincos)
set(_faults "")
foreach(name IN LISTS _names)
  foreach(variant ${name} ${name}f ${name}l __${name}f_finite __${name}_finite)
    if(_symbols MATCHES "U ${variant}(@[^\n]*)?\n")
      list(APPEND _faults ${variant})
    endif()
  endforeach()
endforeach()
if(_faults)
  list(JOIN _faults ", " _report)
  message(FATAL_ERROR "the core calls the C library's ${_report}: use world/float_math.h")
endif()
message(STATUS "the core calls no C library transcendental function")
