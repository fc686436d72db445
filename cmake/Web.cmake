# The web build (Emscripten): the show as WebAssembly for a page with a WebGL 2 canvas, and
# xmrender for node. Included from CMakeLists.txt when the toolchain is Emscripten's; the web's
# platform files are src/platform/web/*.cpp plus the portable ones named in
# demo_web_platform().
#
# No threads (a page would need cross-origin isolation headers for them): the player renders on
# the frame loop and the offline output writes on the calling thread. The GL 1.x calls go to the
# GL layer (src/platform/gl_layer/), which draws with WebGL 2.

if(NOT DEMO_GL_LAYER)
  message(FATAL_ERROR "The web build draws through the GL layer: configure it with "
                      "-DDEMO_GL_LAYER=ON (the web preset does)")
endif()
# Threads are off: the target the native build gets from find_package stands for nothing here.
add_library(Threads::Threads INTERFACE IMPORTED)

set(DEMO_WEB_SIZE_FLAGS -Os CACHE STRING "Optimisation flags of the web build's release")
add_compile_options($<$<CONFIG:Release>:${DEMO_WEB_SIZE_FLAGS}>)
add_link_options($<$<CONFIG:Release>:${DEMO_WEB_SIZE_FLAGS}>)

# demo_web_platform(): the web's platform library.
function(demo_web_platform)
  demo_library(demo_platform src/platform/web)
  # POSIX and C stdio files that Emscripten's C library runs unchanged (its in-memory file
  # system stands for the disk), and the build without a video encoder shared with Windows.
  target_sources(demo_platform PRIVATE
    src/platform/wav_writer.cpp src/platform/files.cpp src/platform/file_io.cpp
    src/platform/signals.cpp src/platform/program_start.cpp
    src/platform/windows/video_file.cpp)
endfunction()

# demo_web_programs(): link settings of the page's program and of xmrender for node.
function(demo_web_programs)
  # The page's program: WebGL 2 only, the in-memory file system for captures, started by the
  # page (callMain) once it has been clicked.
  target_link_options(demo PRIVATE
    -sENVIRONMENT=web -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
    -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=64MB -sINVOKE_RUN=0 -sEXIT_RUNTIME=0
    -sEXPORTED_RUNTIME_METHODS=callMain,FS -sEXPORTED_FUNCTIONS=_main
    -sFILESYSTEM=1)
  set_target_properties(demo PROPERTIES SUFFIX .js)
  # The page and its worklet beside the program, so that the build folder is the site.
  add_custom_command(TARGET demo POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/web/index.html
            ${PROJECT_SOURCE_DIR}/web/audio-output.js $<TARGET_FILE_DIR:demo>)
  # xmrender under node, on the real file system.
  target_link_options(xmrender PRIVATE -sENVIRONMENT=node -sNODERAWFS=1 -sALLOW_MEMORY_GROWTH=1
    -sEXIT_RUNTIME=1)
  set_target_properties(xmrender PROPERTIES SUFFIX .js)
endfunction()
