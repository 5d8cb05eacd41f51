# The platform-free core's source lists, named once for every project that
# compiles the core (the main build here, the fuzz targets in fuzz/).
set(PIGMO_SRC ${CMAKE_CURRENT_LIST_DIR})
set(PIGMO_CORE_SOURCES
  ${PIGMO_SRC}/colour/colour_rules.cpp
  ${PIGMO_SRC}/colour/contrast.cpp
  ${PIGMO_SRC}/colour/decimal_number.cpp
  ${PIGMO_SRC}/colour/number_pattern.cpp
  ${PIGMO_SRC}/colour/parse_number.cpp
  ${PIGMO_SRC}/restriction/clean_text.cpp
  ${PIGMO_SRC}/restriction/cls_tb_restr_numbers.cpp
  ${PIGMO_SRC}/runtime/controls.cpp
  ${PIGMO_SRC}/runtime/dispatch.cpp
  ${PIGMO_SRC}/runtime/error.cpp
  ${PIGMO_SRC}/runtime/event.cpp
  ${PIGMO_SRC}/window/form1.cpp
  ${PIGMO_SRC}/window/form1_description.cpp)
# Locale services: ICU's, or Windows' own national language support.
set(PIGMO_ICU_LOCALE_SOURCES ${PIGMO_SRC}/runtime/icu/locale.cpp)
set(PIGMO_WIN32_LOCALE_SOURCES ${PIGMO_SRC}/runtime/win32/locale_win32.cpp)
# The in-memory backend: for the tests, the fuzz targets and the soak run;
# the shipped programs do not link it.
set(PIGMO_MEMORY_SOURCES ${PIGMO_SRC}/runtime/memory/memory_form.cpp)
