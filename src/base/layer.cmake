# The shared building blocks below every layer (text conversions, atomic file replacement): the
# standard library only.
mernolex_layer(base base)
