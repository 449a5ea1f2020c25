# Navigation screens, the list screen, the picture chooser, the window procedure and the shared
# save-and-report helper. The state machine itself lives in gui/.
mernolex_layer(states states LINK mernolex_modelui mernolex_gui mernolex_model mernolex_speech)
