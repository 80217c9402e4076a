#!/usr/bin/env python3
"""Measures how long `lumoidl lsp` takes from an edit to its diagnostics, on a folder of IDL.

usage: lsp_latency.py TOOL FOLDER [--runs N]

Opens the folder as the workspace and its middle file as a document, then, N times, misspells
the type of the first "[in]" argument (an edit that breaks the file) and puts it back (an edit
that fixes it), each time timing the whole-text change until the diagnostics of the document
say so. The server's debounce is part of the figure. Prints the medians, minima and maxima.
"""
import argparse
import json
import os
import queue
import re
import statistics
import subprocess
import threading
import time


class Server:
    """A running `lumoidl lsp` whose messages a thread reads, each stamped with its arrival."""

    def __init__(self, tool):
        self.process = subprocess.Popen([tool, "lsp"], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL)
        self.messages = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        stream = self.process.stdout
        while True:
            length = None
            while True:
                line = stream.readline()
                if not line:
                    return
                if not line.strip():
                    break
                name, value = line.split(b":", 1)
                if name.strip().lower() == b"content-length":
                    length = int(value)
            self.messages.put((time.monotonic(), json.loads(stream.read(length))))

    def send(self, message):
        body = json.dumps(message).encode()
        self.process.stdin.write(b"Content-Length: %d\r\n\r\n" % len(body) + body)
        self.process.stdin.flush()

    def wait(self, wanted, timeout=30.0):
        """The arrival time of the first message for which `wanted` holds."""
        end = time.monotonic() + timeout
        while True:
            arrived, message = self.messages.get(timeout=max(0.01, end - time.monotonic()))
            if wanted(message):
                return arrived


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("tool", help="the lumoidl program")
    parser.add_argument("folder", help="the workspace folder")
    parser.add_argument("--runs", type=int, default=10)
    args = parser.parse_args()
    root = os.path.abspath(args.folder)
    files = sorted(name for name in os.listdir(root) if name.endswith(".idl"))
    path = os.path.join(root, files[len(files) // 2])
    uri = "file://" + path
    with open(path, encoding="utf-8") as source:
        text = source.read()
    typed = re.search(r"\[in\] (\w+) ", text)
    broken = text[:typed.end(1)] + "X" + text[typed.end(1):]

    server = Server(args.tool)
    server.send({"jsonrpc": "2.0", "id": 1, "method": "initialize",
                 "params": {"processId": None, "rootUri": "file://" + root, "capabilities": {}}})
    server.wait(lambda m: m.get("id") == 1)
    server.send({"jsonrpc": "2.0", "method": "initialized", "params": {}})
    server.send({"jsonrpc": "2.0", "method": "textDocument/didOpen",
                 "params": {"textDocument": {"uri": uri, "languageId": "lumoidl", "version": 1, "text": text}}})
    server.wait(lambda m: m.get("method") == "textDocument/publishDiagnostics" and m["params"]["uri"] == uri)

    def diagnostics(failing):
        return lambda m: (m.get("method") == "textDocument/publishDiagnostics" and m["params"]["uri"] == uri
                          and bool(m["params"]["diagnostics"]) == failing)

    times = {"break": [], "fix": []}
    version = 1
    for _ in range(args.runs):
        for kind, content, failing in (("break", broken, True), ("fix", text, False)):
            version += 1
            start = time.monotonic()
            server.send({"jsonrpc": "2.0", "method": "textDocument/didChange",
                         "params": {"textDocument": {"uri": uri, "version": version},
                                    "contentChanges": [{"text": content}]}})
            times[kind].append((server.wait(diagnostics(failing)) - start) * 1000)
            time.sleep(0.3)
    server.send({"jsonrpc": "2.0", "id": 2, "method": "shutdown"})
    server.wait(lambda m: m.get("id") == 2)
    server.send({"jsonrpc": "2.0", "method": "exit"})
    server.process.wait()
    for kind, values in times.items():
        print(f"{kind}: median {statistics.median(values):.0f} ms (min {min(values):.0f}, max {max(values):.0f})")


if __name__ == "__main__":
    main()
