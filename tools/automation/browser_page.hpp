#pragma once

// A tab of a real browser (headless Chromium), opened and read through its DevTools protocol on
// 127.0.0.1, so a test sees a page as the browser renders it.

#include "web_client.hpp"

#include <cstdint>
#include <string>

namespace e2e {

class BrowserPage {
public:
    // Opens `url` in a new tab of the browser whose DevTools listen at `debugPort`; throws
    // std::runtime_error when the browser does not answer.
    BrowserPage(std::uint16_t debugPort, const std::string& url);
    ~BrowserPage();
    BrowserPage(const BrowserPage&) = delete;
    BrowserPage& operator=(const BrowserPage&) = delete;

    // The value of a JavaScript expression that yields a string made of ASCII (wrap others in
    // encodeURIComponent); empty when the browser does not answer in time.
    std::string evaluate(const std::string& expression, DWORD timeoutMs = 3000);

private:
    std::uint16_t debugPort_;
    std::string targetId_;
    WebClient devtools_;
    int nextId_ = 1;
};

// The milliseconds since 1970 of the system's clock, the clock of JavaScript's Date.now().
double unixMilliseconds();

// The UTF-8 bytes of `text` as encodeURIComponent writes them.
std::string uriComponent(const std::string& utf8);

} // namespace e2e
