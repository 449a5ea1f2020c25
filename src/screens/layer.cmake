# The editing screens.
mernolex_layer(screens screens LINK mernolex_practice mernolex_states mernolex_modelui mernolex_exchange)
