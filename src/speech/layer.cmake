# Speech: the eSpeak NG synthesiser on a thread of its own and playback through the desktop's
# sound server (the PulseAudio protocol) or ALSA. Beside the platform layer: it knows nothing of
# windows, elements or the database.
pkg_check_modules(ESPEAK_NG REQUIRED IMPORTED_TARGET espeak-ng)
pkg_check_modules(PULSE_SIMPLE REQUIRED IMPORTED_TARGET libpulse-simple)
pkg_check_modules(ALSA REQUIRED IMPORTED_TARGET alsa)
find_package(Threads REQUIRED)
# The libraries themselves are opened at first use (base/SharedLibrary.h): only their headers here.
mernolex_layer(speech speech LINK mernolex_base Threads::Threads)
target_include_directories(mernolex_speech SYSTEM PUBLIC ${ESPEAK_NG_INCLUDE_DIRS} ${PULSE_SIMPLE_INCLUDE_DIRS}
                           ${ALSA_INCLUDE_DIRS})
