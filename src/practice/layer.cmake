# Daily roll-over, practice run, answer judging, practice screen.
mernolex_layer(practice practice LINK mernolex_states mernolex_modelui mernolex_model)
