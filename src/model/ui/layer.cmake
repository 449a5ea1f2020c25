# Record operations that fill or read interface elements.
mernolex_layer(modelui model/ui LINK mernolex_model mernolex_gui)
