// Starts `lumoidl lsp` for the workspace and connects VS Code to it.
const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');

let client;

function activate(context) {
  const command = vscode.workspace.getConfiguration('lumoidl').get('path', 'lumoidl');
  const server = { command, args: ['lsp'] };
  client = new LanguageClient('lumoidl', 'lumoidl', server, {
    documentSelector: [{ scheme: 'file', language: 'lumoidl' }],
    synchronize: { fileEvents: vscode.workspace.createFileSystemWatcher('**/{*.idl,lumoidl.json}') },
  });
  context.subscriptions.push(client);
  return client.start();
}

function deactivate() {
  return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
