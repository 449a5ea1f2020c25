# The shared building blocks below every layer (text conversions, atomic file replacement, the
# file-system seam, libraries opened at first use): the standard library and the loader.
mernolex_layer(base base LINK ${CMAKE_DL_LIBS})
