# Record types and their rules: the database engine and the interface strings, no window code.
mernolex_layer(model model LINK mernolex_db mernolex_resources)
