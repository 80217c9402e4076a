// Tokenizes IDL with the VS Code extension's TextMate grammar through vscode-textmate, as VS Code does, and checks the scopes.
'use strict';
const fs = require('fs');
const path = require('path');
const textmate = require('vscode-textmate');
const oniguruma = require('vscode-oniguruma');

const [grammarPath, ...examples] = process.argv.slice(2);

// Each case: a line (or lines), a piece of it, and a scope that piece must carry.
const cases = [
  ['library Geometry {', 'library', 'keyword.other.declaration.lumoidl'],
  ['    interface IShape {', 'interface', 'keyword.other.declaration.lumoidl'],
  ['    enum { Red = 0x01 } Color;', '0x01', 'constant.numeric.lumoidl'],
  ['    category Kinds;', 'category', 'keyword.other.declaration.lumoidl'],
  ['LUMORESULT area([out, retval] LumoReal area);', 'LUMORESULT', 'support.type.builtin.lumoidl'],
  ['LUMORESULT area([out, retval] LumoReal area);', 'LumoReal', 'support.type.builtin.lumoidl'],
  ['LUMORESULT area([out, retval] LumoReal area);', 'retval', 'storage.modifier.attribute.lumoidl'],
  ['[uuid(A558B034-5CC2-447B-8001-25F37BD95C13)]', 'A558B034-5CC2-447B-8001-25F37BD95C13',
   'string.unquoted.attribute-value.lumoidl'],
  ['[uuid(A558B034-5CC2-447B-8001-25F37BD95C13)]', 'uuid', 'storage.modifier.attribute.lumoidl'],
  ['LUMORESULT owner([out] ZEMRA::INamed owner);', 'ZEMRA', 'entity.name.namespace.lumoidl'],
  ['LUMORESULT all([out] ICollection<IShape> shapes);', 'ICollection', 'entity.name.type.lumoidl'],
  ['// interface in a comment', 'interface', 'comment.line.double-slash.lumoidl'],
  ['/* a block\ninterface still inside */ enum', 'interface', 'comment.block.lumoidl'],
  ['/* a block\ninterface still inside */ enum', 'enum', 'keyword.other.declaration.lumoidl'],
];

/// The tokens of `lines`, each with its text and scopes, and the rule stack at the end.
function tokenize(grammar, lines) {
  let stack = textmate.INITIAL;
  const tokens = [];
  for (const line of lines) {
    const result = grammar.tokenizeLine(line, stack);
    for (const token of result.tokens)
      tokens.push({text: line.slice(token.startIndex, token.endIndex), scopes: token.scopes});
    stack = result.ruleStack;
  }
  return {tokens, stack};
}

async function main() {
  const wasm = fs.readFileSync(path.join(path.dirname(require.resolve('vscode-oniguruma')), 'onig.wasm')).buffer;
  await oniguruma.loadWASM(wasm);
  const registry = new textmate.Registry({
    onigLib: Promise.resolve({
      createOnigScanner: (patterns) => new oniguruma.OnigScanner(patterns),
      createOnigString: (text) => new oniguruma.OnigString(text),
    }),
    loadGrammar: async () => textmate.parseRawGrammar(fs.readFileSync(grammarPath, 'utf8'), grammarPath),
  });
  const grammar = await registry.loadGrammar('source.lumoidl');
  const failures = [];
  for (const [source, piece, scope] of cases) {
    const {tokens} = tokenize(grammar, source.split('\n'));
    const token = tokens.find((t) => t.text.includes(piece));
    if (!token || !token.scopes.includes(scope))
      failures.push(`${JSON.stringify(source)}: ${piece} has ${token ? token.scopes.join(' ') : 'no token'}, not ${scope}`);
  }
  // Every example ends outside any comment or attribute list, and its keywords are keywords.
  for (const file of examples) {
    const {tokens, stack} = tokenize(grammar, fs.readFileSync(file, 'utf8').split(/\r?\n/));
    if (stack.depth !== 1) failures.push(`${file}: ends inside a rule (depth ${stack.depth})`);
    const library = tokens.find((t) => t.text === 'library');
    if (!library || !library.scopes.includes('keyword.other.declaration.lumoidl'))
      failures.push(`${file}: "library" is not a keyword`);
  }
  for (const failure of failures) console.error(failure);
  console.log(`${cases.length} cases, ${examples.length} examples, ${failures.length} failures`);
  process.exit(failures.length === 0 ? 0 : 1);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
