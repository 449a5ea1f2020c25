#pragma once

#include <exception>
#include <string>

namespace mernolex::test {

// The message of the exception `action` throws, or the empty text when it throws none.
template <typename Action>
std::string messageOf(Action action) {
    try {
        action();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

}  // namespace mernolex::test
