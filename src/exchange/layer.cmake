# Word lists in and out: readers and writers of delimited text and KVTML, and the mapping of their
# rows onto the records. Above the domain model, below the screens; KVTML is read with libxml2.
pkg_check_modules(LIBXML2 REQUIRED IMPORTED_TARGET libxml-2.0)
mernolex_layer(exchange exchange LINK mernolex_model PkgConfig::LIBXML2)
