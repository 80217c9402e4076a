// The language server's answers to client messages, and the re-checks they call for.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

#include <nlohmann/json.hpp>

#include "tools/lsp/symbol_index.h"
#include "tools/lsp/workspace.h"
#include "tools/lsp/workspace_check.h"

namespace lumoidl::lsp {

/// JSON-RPC and protocol error codes the server answers with.
enum ErrorCode {
    kParseError = -32700,
    kInvalidRequest = -32600,
    kMethodNotFound = -32601,
    kInvalidParams = -32602,
    kServerNotInitialized = -32002,
    kRequestCancelled = -32800,
};

/// The clock that times re-checks.
using Clock = std::chrono::steady_clock;

/// Handles client messages one at a time and sends answers and notifications through a
/// callback; edits ask for a re-check of the workspace, which the caller runs when due.
class Server {
public:
    /// Sends one message to the client.
    using Send = std::function<void(const nlohmann::json& message)>;

    /// A server that sends through `send` and re-checks `delay` after the last edit.
    explicit Server(Send send, Clock::duration delay = std::chrono::milliseconds(35));

    /// Handles the message text `body` of one frame: answers requests, applies notifications,
    /// and answers text that is not JSON with a parse error.
    void handle(const std::string& body);
    /// Marks request `id` as cancelled: if it has not been answered yet, it gets RequestCancelled.
    void cancel(const nlohmann::json& id) { cancelled_.insert(id.dump()); }
    /// When the next re-check is due, if one is wanted.
    std::optional<Clock::time_point> checkDue() const { return checkDue_; }
    /// Checks the workspace and publishes the diagnostics of every document whose list changed.
    void check();
    /// True once the client sent `exit`.
    bool finished() const { return exitCode_.has_value(); }
    /// 0 when `exit` followed `shutdown`, else 1.
    int exitCode() const { return exitCode_.value_or(1); }

private:
    /// Handles one message read as JSON.
    void dispatch(const nlohmann::json& message);
    /// The result of request `method`; throws nlohmann::json::exception on bad params.
    nlohmann::json answer(const std::string& method, const nlohmann::json& params);
    /// Applies notification `method`.
    void notify(const std::string& method, const nlohmann::json& params);
    /// Sets up the workspace from the initialize request's `params`; returns the capabilities.
    nlohmann::json initialize(const nlohmann::json& params);
    /// The symbols of the document `params` names.
    nlohmann::json documentSymbol(const nlohmann::json& params);
    /// The location of the declaration of the type name at the position of `params`, or null.
    nlohmann::json definition(const nlohmann::json& params);
    /// The hover of the type name at the position of `params`, or null.
    nlohmann::json hover(const nlohmann::json& params);
    /// The completion items at the position of `params`.
    nlohmann::json completion(const nlohmann::json& params);
    /// The locations naming the interface or enumeration at the position of `params`.
    nlohmann::json references(const nlohmann::json& params);
    /// The declarations whose names hold the query of `params`.
    nlohmann::json workspaceSymbol(const nlohmann::json& params);
    /// The declaration at the text document position of `params`, with the index up to date.
    std::optional<Declaration> declarationAt(const nlohmann::json& params);
    /// Publishes `lists` (by URI) that differ from what was published last; when `complete`,
    /// the lists of every other URI become empty; otherwise a published list that already holds
    /// every diagnostic of its new one is left as it is.
    void publish(std::map<std::string, nlohmann::json> lists, bool complete);
    /// Answers request `id` with `result`.
    void respond(const nlohmann::json& id, nlohmann::json result);
    /// Answers request `id` (null when unknown) with an error.
    void fail(const nlohmann::json& id, int code, const std::string& message);
    /// Asks for a re-check after the edit delay.
    void scheduleCheck() { checkDue_ = Clock::now() + delay_; }

    Send send_;                                  ///< to the client
    Clock::duration delay_;                      ///< from the last edit to its re-check
    Workspace workspace_;                        ///< the documents
    WorkspaceChecker checker_;                   ///< checks them through the library
    SymbolIndex symbols_;                        ///< their outlines
    std::optional<Clock::time_point> checkDue_;  ///< when the wanted re-check is due
    std::map<std::string, nlohmann::json> published_;  ///< by URI, the last list published when not empty (null: unknown)
    std::set<std::string> cancelled_;  ///< ids (as JSON text) of requests cancelled before their answer
    bool initialized_ = false;                   ///< true after the initialize request
    bool shutDown_ = false;                      ///< true after the shutdown request
    std::optional<int> exitCode_;                ///< set by the exit notification
};

}  // namespace lumoidl::lsp
