# Framework state, painter and helpers.
mernolex_layer(shell shell LINK mernolex_platform mernolex_resources)
