# The object database engine: the standard library only.
mernolex_layer(db db)
