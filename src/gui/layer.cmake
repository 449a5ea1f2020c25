# The element toolkit.
mernolex_layer(gui gui LINK mernolex_shell)
