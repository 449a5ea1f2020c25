# Framework state, painter and helpers. main.cpp belongs to the executable, the resource files to
# mernolex_resources.
mernolex_layer(shell shell
  EXCLUDE main.cpp frameworkFileManager.cpp frameworkDefaults.cpp
  LINK mernolex_platform mernolex_resources)
