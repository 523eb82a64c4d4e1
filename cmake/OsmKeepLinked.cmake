# osm_keep_linked(target symbol [i686-symbol]): every program that links target keeps symbol, and with it the object
# file that defines it, although nothing the program calls names it: a library's start-up registration, or the
# class library's WinMain that the runtime asks for only after the libraries were searched. The symbol is a C name;
# 32-bit names carry a leading underscore, unless an i686 spelling is given (stdcall decorations).
function(osm_keep_linked target symbol)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    if(ARGC GREATER 2)
      set(symbol ${ARGV2})
    else()
      set(symbol _${symbol})
    endif()
  endif()
  target_link_options(${target} INTERFACE -Wl,-u,${symbol})
endfunction()
