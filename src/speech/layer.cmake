# Speech: the eSpeak NG synthesiser on a thread of its own and playback through the desktop's
# sound server (the PulseAudio protocol) or ALSA. Beside the platform layer: it knows nothing of
# windows, elements or the database.
pkg_check_modules(ESPEAK_NG REQUIRED IMPORTED_TARGET espeak-ng)
pkg_check_modules(PULSE_SIMPLE REQUIRED IMPORTED_TARGET libpulse-simple)
pkg_check_modules(ALSA REQUIRED IMPORTED_TARGET alsa)
find_package(Threads REQUIRED)
mernolex_layer(speech speech LINK mernolex_base PkgConfig::ESPEAK_NG PkgConfig::PULSE_SIMPLE PkgConfig::ALSA
               Threads::Threads)
