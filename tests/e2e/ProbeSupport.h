#pragma once

// What the end-to-end probe programs share: printing one line per event, and reading commands
// from standard input while the window's message loop runs.

#include <cstdio>
#include <functional>
#include <string>

#include <glib.h>

#include "platform/Messages.h"

namespace e2e {

// One line on standard output, flushed at once: the tests wait for these lines.
inline void say(const std::string& line) {
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

inline const char* sizeKindName(platform::SizeKind kind) {
    switch (kind) {
    case platform::SizeKind::Restored: return "restored";
    case platform::SizeKind::Minimized: return "minimized";
    case platform::SizeKind::Maximized: return "maximized";
    }
    return "?";
}

// Reads standard input line by line inside the message loop and hands each line to `run`. Each
// command runs from an idle callback of its own, so that while one runs a nested loop (a dialog)
// the input stays readable and the next command can run inside it. The end of the input runs
// "close": the test is done with the program and closes the window as the user would.
class CommandReader {
public:
    explicit CommandReader(std::function<void(const std::string&)> run) : run_(std::move(run)) {
        input_ = g_io_channel_unix_new(0);
        watch_ = g_io_add_watch(input_, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP), readLine, this);
    }
    ~CommandReader() {
        if (GSource* source = g_main_context_find_source_by_id(nullptr, watch_)) {
            g_source_destroy(source);  // still reading: the input did not end before the window
        }
        g_io_channel_unref(input_);
    }
    CommandReader(const CommandReader&) = delete;
    CommandReader& operator=(const CommandReader&) = delete;

private:
    struct Pending {
        CommandReader* reader;
        std::string line;
    };

    static gboolean runPending(gpointer data) {
        auto* pending = static_cast<Pending*>(data);
        pending->reader->run_(pending->line);
        delete pending;
        return G_SOURCE_REMOVE;
    }

    static gboolean readLine(GIOChannel* channel, GIOCondition, gpointer data) {
        auto* reader = static_cast<CommandReader*>(data);
        gchar* line = nullptr;
        gsize length = 0;
        const GIOStatus status = g_io_channel_read_line(channel, &line, &length, nullptr, nullptr);
        if (status == G_IO_STATUS_NORMAL && line != nullptr) {
            std::string command(line, length);
            while (!command.empty() && (command.back() == '\n' || command.back() == '\r')) {
                command.pop_back();
            }
            g_idle_add(runPending, new Pending{reader, command});
        }
        g_free(line);
        if (status == G_IO_STATUS_EOF) {
            g_idle_add(runPending, new Pending{reader, "close"});
        }
        return status == G_IO_STATUS_NORMAL || status == G_IO_STATUS_AGAIN;
    }

    std::function<void(const std::string&)> run_;
    GIOChannel* input_ = nullptr;
    guint watch_ = 0;
};

}  // namespace e2e
