# The object database engine: the shared building blocks and the standard library only.
mernolex_layer(db db LINK mernolex_base)
