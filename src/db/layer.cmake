# The object database engine: the shared building blocks and the standard library only (with
# threads, on which a load reads its files ahead).
find_package(Threads REQUIRED)
mernolex_layer(db db LINK mernolex_base Threads::Threads)
