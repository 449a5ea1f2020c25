# The statistics screen: the figures worked out from the cards and the answer history, the
# plots painted on the canvas, the table of their numbers and the export of a plot as a picture.
mernolex_layer(statistics statistics LINK mernolex_screens mernolex_practice mernolex_states mernolex_modelui)
