# One switch for the whole tree, JUCE modules included: a sanitizer only
# finds faults reliably when every object it sees was instrumented.
if(KMX_SANITIZE)
    set(_kmx_san_flags -fsanitize=${KMX_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_compile_options(${_kmx_san_flags} -g)
    add_link_options(${_kmx_san_flags})
endif()
