# The JUCE modules are compiled once, into one static library that the
# program, the tools and the tests all link.
add_library(kmx_juce STATIC)

target_link_libraries(kmx_juce
    PRIVATE
        juce::juce_core
        juce::juce_events
        juce::juce_data_structures
        juce::juce_graphics
        juce::juce_gui_basics
    PUBLIC
        juce::juce_recommended_config_flags)

target_compile_definitions(kmx_juce
    PUBLIC
        JUCE_USE_CURL=0
        JUCE_WEB_BROWSER=0
        JUCE_DISPLAY_SPLASH_SCREEN=0
        JUCE_REPORT_APP_USAGE=0
        JUCE_MODAL_LOOPS_PERMITTED=1
        JUCE_STANDALONE_APPLICATION=1
        JUCE_USE_XRANDR=1
    INTERFACE
        $<TARGET_PROPERTY:kmx_juce,COMPILE_DEFINITIONS>)

# Consumers see the module headers and settings, but never compile the module
# sources again.
target_include_directories(kmx_juce SYSTEM INTERFACE
    $<TARGET_PROPERTY:kmx_juce,INCLUDE_DIRECTORIES>)

# JUCE's own headers are not ours to warn about.
set_target_properties(kmx_juce PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
target_compile_options(kmx_juce PRIVATE -w)

# Debian's JUCE decodes images with the system libpng and libjpeg; JUCE links
# them only into its own app targets, so pass them on to every consumer.
if(TARGET juce::pkgconfig_JUCE_IMG_LINUX_DEPS)
    target_link_libraries(kmx_juce PUBLIC juce::pkgconfig_JUCE_IMG_LINUX_DEPS)
endif()
