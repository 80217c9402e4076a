// The count of live parse-time objects, kept cheaply on the thread that runs the parse.
#pragma once

#include <atomic>

// The flag below is read for every parse-time object made or destroyed; on ELF systems it sits
// in the static TLS block, which a plain load reaches, instead of behind a look-up call.
#if defined(__ELF__)
#define LUMOIDL_STATIC_TLS [[gnu::tls_model("initial-exec")]]
#else
#define LUMOIDL_STATIC_TLS
#endif

namespace ZEMRA::IDL::PARSER {

namespace live_count_detail {
/// True on the thread running a parse, while it runs.
LUMOIDL_STATIC_TLS extern thread_local bool tParsing;
/// Objects made minus objects destroyed on parsing threads. Parses hold the process lock, so
/// one thread at a time writes it, with a plain load and store rather than a locked add.
extern std::atomic<long> gOnParseThreads;
/// The same for every other thread (a host releasing a result while another thread parses).
extern std::atomic<long> gElsewhere;
}  // namespace live_count_detail

/// Live objects of every registrable kind, counted at construction and destruction so that
/// tests can see that a parse leaves nothing behind and destroys nothing twice.
long liveParseObjects();

/// Adds `delta` (1 for a new object, -1 for a destroyed one) to the count.
inline void countParseObjects(long delta) {
    using namespace live_count_detail;
    if (tParsing)
        gOnParseThreads.store(gOnParseThreads.load(std::memory_order_relaxed) + delta, std::memory_order_relaxed);
    else
        gElsewhere.fetch_add(delta, std::memory_order_relaxed);
}

/// Marks the calling thread as the one running a parse for the life of the scope; the
/// thread must hold the process lock all that time.
class ParsingThreadScope {
public:
    ParsingThreadScope() : previous_(live_count_detail::tParsing) { live_count_detail::tParsing = true; }
    ParsingThreadScope(const ParsingThreadScope&) = delete;
    ParsingThreadScope& operator=(const ParsingThreadScope&) = delete;
    ~ParsingThreadScope() { live_count_detail::tParsing = previous_; }

private:
    bool previous_;
};

}  // namespace ZEMRA::IDL::PARSER
