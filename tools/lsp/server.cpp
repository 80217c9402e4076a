// Dispatch of client messages: lifecycle, document sync, and the navigation requests.
#include "tools/lsp/server.h"

#include <algorithm>
#include <iostream>

#include "tools/lsp/completion.h"
#include "tools/lsp/diagnostic_json.h"
#include "tools/lsp/document_symbols.h"
#include "tools/lsp/hover.h"
#include "tools/lsp/line_index.h"
#include "tools/lsp/references.h"
#include "tools/lsp/uri.h"
#include "tools/lsp/workspace_symbols.h"

namespace lumoidl::lsp {
namespace {

using nlohmann::json;

void log(const std::string& text) { std::cerr << "lumoidl lsp: " << text << '\n'; }

/// The folder of the initialize request: the first workspace folder, else the root URI or path.
std::string rootOf(const json& params) {
    const json folders = params.value("workspaceFolders", json());
    if (folders.is_array() && !folders.empty()) return uriToPath(folders[0].at("uri").get<std::string>()).value_or("");
    if (params.contains("rootUri") && params["rootUri"].is_string())
        return uriToPath(params["rootUri"].get<std::string>()).value_or("");
    if (params.contains("rootPath") && params["rootPath"].is_string()) return params["rootPath"].get<std::string>();
    return {};
}

json rangeJson(const LineIndex& lines, const diagnostics::Span& span) {
    const Position start = lines.position(span.offset), end = lines.position(size_t{span.offset} + span.length);
    return {{"start", {{"line", start.line}, {"character", start.character}}},
            {"end", {{"line", end.line}, {"character", end.character}}}};
}

}  // namespace

Server::Server(Send send, Clock::duration delay) : send_(std::move(send)), delay_(delay) {}

void Server::handle(const std::string& body) {
    json message = json::parse(body, nullptr, false);
    if (message.is_discarded()) {
        log("dropped a message that is not JSON");
        fail(nullptr, kParseError, "the message is not JSON");
        return;
    }
    dispatch(message);
}

void Server::dispatch(const json& message) {
    const bool valid = message.is_object() && message.contains("jsonrpc") && message["jsonrpc"] == "2.0";
    const json id = valid && message.contains("id") ? message["id"] : json();
    if (!valid || !message.contains("method") || !message["method"].is_string()) {
        if (valid && !id.is_null() && (message.contains("result") || message.contains("error"))) return;
        log("dropped a message that is no JSON-RPC 2.0 request or notification");
        fail(id, kInvalidRequest, "not a JSON-RPC 2.0 request or notification");
        return;
    }
    const std::string method = message["method"];
    const json params = message.value("params", json::object());
    if (!message.contains("id")) {
        try {
            notify(method, params);
        } catch (const json::exception& error) {
            log("notification " + method + " ignored: " + error.what());
        }
        return;
    }
    if (cancelled_.erase(id.dump())) return fail(id, kRequestCancelled, "cancelled");
    if (!initialized_ && method != "initialize") return fail(id, kServerNotInitialized, "initialize first");
    if (shutDown_) return fail(id, kInvalidRequest, "the server is shutting down");
    try {
        respond(id, answer(method, params));
    } catch (const std::out_of_range&) {
        fail(id, kMethodNotFound, "unknown method " + method);
    } catch (const json::exception& error) {
        fail(id, kInvalidParams, error.what());
    }
}

json Server::answer(const std::string& method, const json& params) {
    if (method == "initialize") return initialize(params);
    if (method == "shutdown") {
        shutDown_ = true;
        return nullptr;
    }
    if (method == "textDocument/documentSymbol") return documentSymbol(params);
    if (method == "textDocument/definition") return definition(params);
    if (method == "textDocument/hover") return hover(params);
    if (method == "textDocument/completion") return completion(params);
    if (method == "textDocument/references") return references(params);
    if (method == "workspace/symbol") return workspaceSymbol(params);
    throw std::out_of_range(method);
}

void Server::notify(const std::string& method, const json& params) {
    if (method == "exit") {
        exitCode_ = shutDown_ ? 0 : 1;
    } else if (method == "$/cancelRequest") {
        cancel(params.at("id"));
    } else if (method == "initialized" || method == "workspace/didChangeWatchedFiles") {
        workspace_.rescan();
        if (!workspace_.listProblem().empty()) log(workspace_.listProblem());
        scheduleCheck();
    } else if (method == "textDocument/didOpen") {
        const json& document = params.at("textDocument");
        const std::string uri = document.at("uri");
        workspace_.open(uri, document.at("text").get<std::string>());
        published_[uri] = nullptr;  // unknown to the client: the next list goes out even when empty
        scheduleCheck();
    } else if (method == "textDocument/didChange") {
        const json& changes = params.at("contentChanges");
        if (changes.empty()) return;
        workspace_.change(params.at("textDocument").at("uri").get<std::string>(), changes.back().at("text").get<std::string>());
        scheduleCheck();
    } else if (method == "textDocument/didSave") {
        if (params.contains("text")) workspace_.change(params.at("textDocument").at("uri").get<std::string>(), params["text"].get<std::string>());
        scheduleCheck();
    } else if (method == "textDocument/didClose") {
        workspace_.close(params.at("textDocument").at("uri").get<std::string>());
        scheduleCheck();
    }
}

json Server::initialize(const json& params) {
    initialized_ = true;
    workspace_ = Workspace(rootOf(params));
    return {{"capabilities",
             {{"textDocumentSync", {{"openClose", true}, {"change", 1}, {"save", {{"includeText", true}}}}},
              {"documentSymbolProvider", true},
              {"definitionProvider", true},
              {"hoverProvider", true},
              {"completionProvider", {{"triggerCharacters", {"[", "(", ":", "<", ","}}}},
              {"referencesProvider", true},
              {"workspaceSymbolProvider", true}}},
            {"serverInfo", {{"name", "lumoidl"}}}};
}

std::optional<Declaration> Server::declarationAt(const json& params) {
    const std::string uri = params.at("textDocument").at("uri");
    const Document* document = workspace_.find(uri);
    if (!document) return std::nullopt;
    symbols_.update(workspace_.documents());
    const json& at = params.at("position");
    const LineIndex lines(document->text);
    return symbols_.declarationAt(uri, lines.offset({at.at("line").get<uint32_t>(), at.at("character").get<uint32_t>()}));
}

json Server::documentSymbol(const json& params) {
    const std::string uri = params.at("textDocument").at("uri");
    const Document* document = workspace_.find(uri);
    if (!document) return json::array();
    symbols_.update(workspace_.documents());
    return documentSymbols(*symbols_.outline(uri), LineIndex(document->text));
}

json Server::definition(const json& params) {
    const std::optional<Declaration> declaration = declarationAt(params);
    if (!declaration) return nullptr;
    return {{"uri", declaration->document->uri},
            {"range", rangeJson(LineIndex(declaration->document->text), declaration->name().span)}};
}

json Server::hover(const json& params) {
    const std::optional<Declaration> declaration = declarationAt(params);
    if (!declaration) return nullptr;
    return {{"contents", {{"kind", "markdown"}, {"value", hoverText(*declaration)}}}};
}

json Server::completion(const json& params) {
    const std::string uri = params.at("textDocument").at("uri");
    const Document* document = workspace_.find(uri);
    if (!document) return json::array();
    symbols_.update(workspace_.documents());
    const json& at = params.at("position");
    const LineIndex lines(document->text);
    const size_t offset = lines.offset({at.at("line").get<uint32_t>(), at.at("character").get<uint32_t>()});
    return completionItems(symbols_, document->text, offset, lines);
}

json Server::references(const json& params) {
    const std::optional<Declaration> declaration = declarationAt(params);
    if (!declaration) return nullptr;
    const bool withDeclaration = params.value("context", json::object()).value("includeDeclaration", true);
    json out = json::array();
    std::optional<LineIndex> lines;
    const Document* indexed = nullptr;
    for (const DocumentSpan& place : referencesTo(symbols_, *declaration, withDeclaration)) {
        if (place.document != indexed) lines.emplace(place.document->text);
        indexed = place.document;
        out.push_back({{"uri", place.document->uri}, {"range", rangeJson(*lines, place.span)}});
    }
    return out;
}

json Server::workspaceSymbol(const json& params) {
    symbols_.update(workspace_.documents());
    return workspaceSymbols(symbols_, params.at("query").get<std::string>());
}

void Server::check() {
    checkDue_.reset();
    const std::vector<Document>& documents = workspace_.documents();
    symbols_.update(documents);
    // The library's own failure is shown at once; the search for more takes as long again.
    const auto first = [&](const diagnostics::Diagnostic& failure) {
        publish(clientDiagnostics({failure}, documents), false);
    };
    try {
        publish(clientDiagnostics(checker_.check(documents, symbols_.outlines(), first), documents), true);
    } catch (const std::exception& failure) {
        log(std::string("the check failed: ") + failure.what());
    }
}

void Server::publish(std::map<std::string, json> lists, bool complete) {
    if (complete) {
        for (const auto& [uri, list] : published_)
            if (!lists.count(uri)) lists[uri] = json::array();
    }
    for (auto& [uri, list] : lists) {
        const auto known = published_.find(uri);
        if (known == published_.end() ? list.empty() : known->second == list) continue;
        // Before the search ends, a list already showing every failure found stays as it is.
        if (!complete && known != published_.end() && known->second.is_array() &&
            std::all_of(list.begin(), list.end(), [&](const json& d) {
                return std::find(known->second.begin(), known->second.end(), d) != known->second.end();
            }))
            continue;
        if (list.empty()) published_.erase(uri);
        else published_[uri] = list;
        send_({{"jsonrpc", "2.0"},
               {"method", "textDocument/publishDiagnostics"},
               {"params", {{"uri", uri}, {"diagnostics", std::move(list)}}}});
    }
}

void Server::respond(const json& id, json result) {
    send_({{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}});
}

void Server::fail(const json& id, int code, const std::string& message) {
    send_({{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}});
}

}  // namespace lumoidl::lsp
