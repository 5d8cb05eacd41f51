# The fuzz targets: the function of targets.cpp each one runs, and its name (CleanTextLong: clean_text_long), which
# is also its corpus folder. Shared by the libFuzzer build here and the corpus replay of the test suite.
set(PIGMO_FUZZ_FUNCTIONS ParseNumber FractionText CleanText CleanTextLong)
function(pigmo_fuzz_target_name function out)
  string(REGEX REPLACE "([a-z])([A-Z])" "\\1_\\2" name ${function})
  string(TOLOWER ${name} name)
  set(${out} ${name} PARENT_SCOPE)
endfunction()
