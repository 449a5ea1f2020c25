# The framework resource tables and files (interface strings, colours, font face): the shared
# building blocks and the standard library only. They form their own library, so that the domain
# model can read interface strings without depending on any window code.
mernolex_layer(resources resources LINK mernolex_base)
