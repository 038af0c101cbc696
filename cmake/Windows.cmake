# What the Windows build adds: kov.exe's icon and version resource, and the
# packages. The icon painter is cross-built too, so it runs under Wine at
# build time.
enable_language(RC)

set(KOV_ICO ${CMAKE_BINARY_DIR}/kov.ico)
add_custom_command(OUTPUT ${KOV_ICO} COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:make-icon> ${KOV_ICO}
                   DEPENDS make-icon VERBATIM)
configure_file(cmake/kov.rc.in ${CMAKE_BINARY_DIR}/kov.rc @ONLY)
target_sources(kov PRIVATE ${CMAKE_BINARY_DIR}/kov.rc)
set_source_files_properties(${CMAKE_BINARY_DIR}/kov.rc PROPERTIES OBJECT_DEPENDS ${KOV_ICO})

# The image reader and writer of Debian's libstb-dev, compiled here: there is
# no library of them for the target.
set(KOV_STB_INCLUDE ${CMAKE_BINARY_DIR}/stb-include)
file(COPY /usr/include/stb/stb_image.h /usr/include/stb/stb_image_write.h DESTINATION ${KOV_STB_INCLUDE}/stb)
add_library(stb STATIC ${CMAKE_CURRENT_LIST_DIR}/Stb.cpp)
target_compile_options(stb PRIVATE -O1)  # a few pictures a run; -O3 takes half a minute to build
target_include_directories(stb SYSTEM PUBLIC ${KOV_STB_INCLUDE})

include(cmake/WindowsPackage.cmake)
