# Each layer's sources and the headers it offers, named once for every project that compiles them (the main build
# here, the fuzz targets in fuzz/).
set(PIGMO_SRC ${CMAKE_CURRENT_LIST_DIR})
# The runtime contract: controls, events, errors, the window description, the locale interface.
set(PIGMO_RUNTIME_SOURCES)
foreach(source colour_words contrast controls dispatch error event form_spec locale)
  list(APPEND PIGMO_RUNTIME_SOURCES ${PIGMO_SRC}/runtime/${source}.cpp)
endforeach()
set(PIGMO_RUNTIME_HEADERS)
foreach(header colour colour_words contrast controls dispatch error event form form_spec locale)
  list(APPEND PIGMO_RUNTIME_HEADERS ${PIGMO_SRC}/runtime/${header}.h)
endforeach()
file(GLOB PIGMO_COLOUR_SOURCES ${PIGMO_SRC}/colour/*.cpp)
file(GLOB PIGMO_COLOUR_HEADERS ${PIGMO_SRC}/colour/*.h)
file(GLOB PIGMO_RESTRICTION_SOURCES ${PIGMO_SRC}/restriction/*.cpp)
set(PIGMO_RESTRICTION_HEADERS ${PIGMO_SRC}/restriction/clean_text.h ${PIGMO_SRC}/restriction/cls_tb_restr_numbers.h)
set(PIGMO_RESTRICTION_PRIVATE_HEADERS ${PIGMO_SRC}/restriction/unit_answers.h)
file(GLOB PIGMO_WINDOW_SOURCES ${PIGMO_SRC}/window/*.cpp)
file(GLOB PIGMO_WINDOW_HEADERS ${PIGMO_SRC}/window/*.h)
# The platform-free core, every layer above together.
set(PIGMO_CORE_SOURCES ${PIGMO_RUNTIME_SOURCES} ${PIGMO_COLOUR_SOURCES} ${PIGMO_RESTRICTION_SOURCES}
                       ${PIGMO_WINDOW_SOURCES})
# Locale services: ICU's, or Windows' own national language support (part of the Win32 backend).
set(PIGMO_ICU_LOCALE_SOURCES ${PIGMO_SRC}/runtime/icu/locale.cpp)
set(PIGMO_WIN32_LOCALE_SOURCES ${PIGMO_SRC}/runtime/win32/locale_win32.cpp)
