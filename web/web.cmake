# The browser build: the program's own sources over the web layer, linked by
# emscripten into one self-contained page, involute-gears.html, with the
# wasm and JavaScript inside it. Configure with `emcmake cmake`.
set(WEB_DIR ${CMAKE_CURRENT_SOURCE_DIR}/web)

# Debian's emcc runs its JavaScript tools with node and finds their modules
# only in Debian's own node_modules folder; say where, whichever node runs.
set(CMAKE_CXX_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env "NODE_PATH=/usr/share/nodejs")
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env "NODE_PATH=/usr/share/nodejs")

# The page: web/page.html is its skeleton, web/page/ its parts (styles,
# scripts, texts); assemble_page.cmake puts them together into the one
# shell file emcc takes.
set(PAGE_SHELL ${CMAKE_BINARY_DIR}/page-shell.html)
file(GLOB PAGE_PARTS CONFIGURE_DEPENDS ${WEB_DIR}/page/*)
add_custom_command(OUTPUT ${PAGE_SHELL}
  COMMAND ${CMAKE_COMMAND} -DSKELETON=${WEB_DIR}/page.html -DOUTPUT=${PAGE_SHELL}
          -P ${WEB_DIR}/assemble_page.cmake
  DEPENDS ${WEB_DIR}/page.html ${PAGE_PARTS} ${WEB_DIR}/assemble_page.cmake
  COMMENT "Assembling the page from web/page.html and web/page/"
  VERBATIM)
add_custom_target(involute-gears-page DEPENDS ${PAGE_SHELL})

add_executable(involute-gears
  ${INVOLUTE_CORE_SOURCES}
  ${INVOLUTE_MODEL_SOURCES}
  src/app/main.cpp
  web/gl_immediate.cpp
  web/webgl_backend.cpp
  web/glut.cpp
  web/font_helvetica18.cpp
  web/window_title.cpp
  web/iconv_utf8_only.cpp
  web/environment.cpp
  web/readout.cpp
  web/pair_bridge.cpp
  web/restart.cpp
)
# emcc links the page (involute-gears-linked.html) beside its glue script
# and wasm (involute-gears-linked.js, .wasm); pack_program.mjs then puts the
# glue inline and the wasm gzipped in it: involute-gears.html. (emcc's own
# single file would bring the glue 2 KB of base64 decoding the page never
# runs.)
set_target_properties(involute-gears PROPERTIES
  OUTPUT_NAME "involute-gears-linked"
  SUFFIX ".html"
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
# web/include first: <GL/gl.h> and <GL/freeglut.h> are the web layer's.
target_include_directories(involute-gears BEFORE PRIVATE ${WEB_DIR}/include)
target_include_directories(involute-gears PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src ${WEB_DIR})
# Optimised for size: the page is one download, and its wasm is decoded
# before the first frame.
target_compile_options(involute-gears PRIVATE -Oz -flto)
target_link_options(involute-gears PRIVATE
  -Oz
  -flto
  -sENVIRONMENT=web
  -sMINIFY_HTML=0
  -sINITIAL_MEMORY=16MB
  # The memory grows when a file to save needs it: the STL of two gears of
  # 400 teeth is 9 MB, more than the 16 MB leave beside the program.
  -sALLOW_MEMORY_GROWTH=1
  # The smaller allocator: the program allocates at start and at a new
  # pair, never while drawing.
  -sMALLOC=emmalloc
  # No file system: the page has no files (the desktop's --svg file is the
  # page's "Save the gears' outlines" download), fopen fails there, and
  # emscripten's FS would add about 45 KB to the page.
  -sFILESYSTEM=0
  # The wasm's exports put on Module by one loop at instantiation, not each
  # through a wrapper function of its own in the glue (about 9 KB of it).
  -sDECLARE_ASM_MODULE_EXPORTS=0
  # Only the Module settings the page gives (module.js) are looked for.
  "-sINCOMING_MODULE_JS_API=[canvas,instantiateWasm,onAbort,onRuntimeInitialized,print,printErr]"
  # The browser's TextDecoder only: no decoder of emscripten's own in the glue.
  -sTEXTDECODER=2
  # No WebGL extensions (webgl_backend.cpp asks for none), no Safari WebGL 2
  # workaround (the context is WebGL 1), no longjmp.
  -sGL_SUPPORT_AUTOMATIC_ENABLE_EXTENSIONS=0
  -sGL_SUPPORT_SIMPLE_ENABLE_EXTENSIONS=0
  -sGL_WORKAROUND_SAFARI_GETCONTEXT_BUG=0
  -sSUPPORT_LONGJMP=0
  --shell-file ${PAGE_SHELL}
  --js-library ${WEB_DIR}/stdout_to_page.js)
add_dependencies(involute-gears involute-gears-page)
set_property(TARGET involute-gears APPEND PROPERTY LINK_DEPENDS
  ${PAGE_SHELL} ${WEB_DIR}/stdout_to_page.js)

# The one page: the linked page with its wasm gzipped. Node is there
# wherever emcc is (emcc runs its JavaScript tools with it).
find_program(NODE_EXECUTABLE NAMES node nodejs REQUIRED)
set(PAGE ${CMAKE_BINARY_DIR}/involute-gears.html)
add_custom_command(OUTPUT ${PAGE}
  COMMAND ${NODE_EXECUTABLE} ${WEB_DIR}/tools/pack_program.mjs $<TARGET_FILE:involute-gears> ${PAGE}
  DEPENDS involute-gears ${WEB_DIR}/tools/pack_program.mjs
  COMMENT "Packing the program's wasm into involute-gears.html"
  VERBATIM)
add_custom_target(involute-gears-page-packed ALL DEPENDS ${PAGE})
