// The server's main loop: a reader thread hands frames over, the loop answers them and re-checks.
#include "tools/lsp/server_loop.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <iostream>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "tools/lsp/framing.h"
#include "tools/lsp/server.h"

namespace lumoidl::lsp {
namespace {

/// The frames read and not yet handled.
class FrameQueue {
public:
    void push(Frame frame) {
        {
            const std::lock_guard lock(mutex_);
            frames_.push_back(std::move(frame));
        }
        ready_.notify_one();
    }

    /// Every frame waiting, after waiting for one until `deadline` (for ever when none).
    std::vector<Frame> take(std::optional<Clock::time_point> deadline) {
        std::unique_lock lock(mutex_);
        const auto any = [&] { return !frames_.empty(); };
        if (deadline) ready_.wait_until(lock, *deadline, any);
        else ready_.wait(lock, any);
        std::vector<Frame> out(std::make_move_iterator(frames_.begin()), std::make_move_iterator(frames_.end()));
        frames_.clear();
        return out;
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Frame> frames_;
};

bool isCancel(const Frame& frame) {
    return frame.status == FrameStatus::kMessage && frame.body.find("\"$/cancelRequest\"") != std::string::npos;
}

}  // namespace

int runServer(std::istream& in, std::ostream& out) {
    // Shared with the reader, which may outlive this call.
    const auto queue = std::make_shared<FrameQueue>();
    std::thread reader([queue, &in] {
        for (;;) {
            Frame frame = readFrame(in);
            const bool end = frame.status == FrameStatus::kEnd;
            queue->push(std::move(frame));
            if (end) return;
        }
    });
    // The reader may be blocked on input when the client says exit; the process ends with it.
    reader.detach();
    Server server([&](const nlohmann::json& message) {
        writeFrame(out, message.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
    });
    for (;;) {
        std::vector<Frame> frames = queue->take(server.checkDue());
        // Cancellations first, so that a request cancelled while waiting is not worked on.
        std::stable_partition(frames.begin(), frames.end(), isCancel);
        for (const Frame& frame : frames) {
            if (frame.status == FrameStatus::kEnd) return server.finished() ? server.exitCode() : 1;
            if (frame.status == FrameStatus::kMalformed)
                std::cerr << "lumoidl lsp: dropped a malformed frame: " << frame.problem << '\n';
            else
                server.handle(frame.body);
            if (server.finished()) return server.exitCode();
        }
        if (server.checkDue() && Clock::now() >= *server.checkDue()) server.check();
    }
}

}  // namespace lumoidl::lsp
