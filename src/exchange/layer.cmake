# Word lists in and out: readers and writers of delimited text and KVTML, and the mapping of their
# rows onto the records. Above the domain model, below the screens; KVTML is read with libxml2.
pkg_check_modules(LIBXML2 REQUIRED IMPORTED_TARGET libxml-2.0)
# libxml2 is opened at first use (exchange/Libxml2Library.h): only its headers here.
mernolex_layer(exchange exchange LINK mernolex_model)
target_include_directories(mernolex_exchange SYSTEM PUBLIC ${LIBXML2_INCLUDE_DIRS})
# The sample collection: installed beside the program's other data, and found in the source tree
# when the program runs from its build tree.
include(GNUInstallDirs)
target_compile_definitions(mernolex_exchange PRIVATE
  MERNOLEX_SAMPLE_RELATIVE="../${CMAKE_INSTALL_DATADIR}/mernolex/german-english.kvtml"
  MERNOLEX_SAMPLE_INSTALLED="${CMAKE_INSTALL_FULL_DATADIR}/mernolex/german-english.kvtml"
  MERNOLEX_SAMPLE_SOURCE="${PROJECT_SOURCE_DIR}/sample/german-english.kvtml")
