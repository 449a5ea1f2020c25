# Screen state machine, list screen, picture chooser, navigation screens.
mernolex_layer(states states LINK mernolex_gui mernolex_model)
