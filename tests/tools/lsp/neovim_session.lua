-- A Neovim session against `lumoidl lsp`: diagnostics, definition, hover, symbols, completion, references and edits.
local tool, examples = os.getenv('LUMOIDL_TOOL'), os.getenv('LUMOIDL_EXAMPLES')
local failures = {}

local function check(ok, what)
  if not ok then table.insert(failures, what) end
end

local client = vim.lsp.start_client({ name = 'lumoidl', cmd = { tool, 'lsp' }, root_dir = examples })
assert(client, 'the server did not start')

local function open(name)
  vim.cmd('edit ' .. examples .. '/' .. name)
  local buf = vim.api.nvim_get_current_buf()
  vim.lsp.buf_attach_client(buf, client)
  return buf
end

local function diagnostics_of(buf, count)
  vim.wait(5000, function() return #vim.diagnostic.get(buf) == count end, 10)
  return vim.diagnostic.get(buf)
end

-- The position of the first `text` in `buf`, `shift` characters into it (the files are ASCII).
local function at(buf, text, shift)
  for i, line in ipairs(vim.api.nvim_buf_get_lines(buf, 0, -1, false)) do
    local col = line:find(text, 1, true)
    if col then return { line = i - 1, character = col - 1 + (shift or 0) } end
  end
  error('no "' .. text .. '" in buffer ' .. buf)
end

local function request(buf, method, position)
  local params = { textDocument = vim.lsp.util.make_text_document_params(buf), position = position }
  local answers = vim.lsp.buf_request_sync(buf, method, params, 5000) or {}
  local answer = answers[client] or {}
  check(answer.err == nil, method .. ' answered an error')
  return answer.result
end

-- Diagnostics of a file with two misspelt types, with their suggestions.
local shapes = open('broken/shapes.idl')
local found = diagnostics_of(shapes, 2)
check(#found == 2, 'shapes.idl: expected 2 diagnostics, got ' .. #found)
local expected = { { 'IShap', 'did you mean "IShape"?' }, { 'Colour', 'did you mean "Color"?' } }
for i, want in ipairs(expected) do
  local d, place = found[i] or {}, at(shapes, want[1] .. ' ')
  check(d.lnum == place.line and d.col == place.character and d.end_col == place.character + #want[1],
        'shapes.idl: diagnostic ' .. i .. ' is not on "' .. want[1] .. '"')
  check((d.message or ''):find(want[2], 1, true), 'shapes.idl: diagnostic ' .. i .. ' lacks ' .. want[2])
end

-- Definitions: qualified, unqualified, inside template arguments; none for built-in types.
local drawing, geometry, core = open('3-drawing.idl'), open('2-geometry.idl'), open('1-core.idl')
local definitions = {
  { drawing, 'Geometry::IShape shape', 12, '2-geometry.idl', 'interface IShape' },
  { drawing, 'ICanvas canvas', 2, '3-drawing.idl', 'interface ICanvas' },
  { drawing, 'LumoArrayEnumeration<Geometry::Color>', 33, '2-geometry.idl', '} Color' },
  { geometry, 'ICollection<IShape>', 13, '2-geometry.idl', 'interface IShape' },
  { geometry, 'ZEMRA::INamed', 8, '1-core.idl', 'interface INamed' },
  { geometry, 'LumoReal area', 2, nil },
  { drawing, 'ICollection<TLayer>', 14, nil },
}
for _, case in ipairs(definitions) do
  local buf, text, shift, file, declaration = unpack(case)
  local result = request(buf, 'textDocument/definition', at(buf, text, shift))
  if file == nil then
    check(result == nil or vim.tbl_isempty(result), 'definition of "' .. text .. '" should be none')
  else
    local target = result and vim.uri_to_bufnr(result.uri)
    local words = declaration:gsub('^%S+ ', '')
    check(result and result.uri:sub(-#file) == file, 'definition of "' .. text .. '" not in ' .. file)
    check(target and vim.deep_equal(result.range.start, at(target, declaration, #declaration - #words)),
          'definition of "' .. text .. '" not at ' .. declaration)
  end
end

-- Hover: an interface by a reference to it, and a template by its declaration.
local hovers = {
  { drawing, 'ICanvas canvas', { 'interface Drawing::ICanvas', '93A55630-0236-4565-8B82-BCF0697F549F',
                                 'LUMORESULT draw([in] Geometry::IShape shape, [in] BlendMode mode);' } },
  { core, 'ICollection<T>', { 'interface ZEMRA::ICollection<T>', 'LUMORESULT item([in] LumoInteger index' } },
  { drawing, 'BlendMode mode', { 'enum Drawing::BlendMode', 'Multiply = 1' } },
}
for _, case in ipairs(hovers) do
  local result = request(case[1], 'textDocument/hover', at(case[1], case[2], 1))
  local text = result and result.contents.value or ''
  for _, want in ipairs(case[3]) do check(text:find(want, 1, true), 'hover on "' .. case[2] .. '" lacks ' .. want) end
end

-- Document symbols: the library holding its declarations, an interface holding its methods.
local symbols = request(drawing, 'textDocument/documentSymbol') or {}
local library = symbols[1] or { children = {} }
local names = vim.tbl_map(function(s) return s.name end, library.children)
check(library.name == 'Drawing', 'the outline does not start with library Drawing')
check(vim.deep_equal(names, { 'ICanvas', 'ILayeredCanvas', 'BlendMode', 'Renderers', 'Exporters' }),
      'the outline lists ' .. table.concat(names, ', '))
check(library.children[1] and library.children[1].children[1].name == 'draw', 'ICanvas does not hold draw')

-- Completion: type names by library, attribute names by list, a fresh uuid.
local uuid = '^%x%x%x%x%x%x%x%x%-%x%x%x%x%-4%x%x%x%-[89AB]%x%x%x%-%x%x%x%x%x%x%x%x%x%x%x%x$'
local completions = {
  { geometry, '[in] Color color', 7, { 'Color', 'IShape', 'ZEMRA::INamed', 'LumoReal' }, { 'Geometry::IShape', 'uuid' } },
  { core, '[out, retval] T item', 15, { 'T', 'ICollection', 'LumoString' }, { 'ZEMRA::ICollection' } },
  { geometry, '[property_get] LUMORESULT owner', 1, { 'property_get', 'property_set', 'long_name' }, { 'in', 'uuid' } },
  { geometry, '[out, retval] LumoReal area', 1, { 'in', 'out', 'retval' }, { 'property_get', 'IShape' } },
  { geometry, 'version(2.1)', 0, { 'uuid', 'version', 'idlversion' }, { 'long_name' } },
  { geometry, '[uuid(A558', 6, { uuid }, { 'uuid' } },
  { geometry, 'Green = 0x02', 0, {}, { 'IShape', 'LumoReal' } },
}
for _, case in ipairs(completions) do
  local buf, text, shift, wanted, unwanted = unpack(case)
  local labels = vim.tbl_map(function(item) return item.label end, request(buf, 'textDocument/completion', at(buf, text, shift)) or {})
  local function has(want)
    for _, label in ipairs(labels) do
      if label == want or (want:sub(1, 1) == '^' and label:find(want)) then return true end
    end
    return false
  end
  for _, want in ipairs(wanted) do check(has(want), 'completion in "' .. text .. '" lacks ' .. want) end
  for _, other in ipairs(unwanted) do check(not has(other), 'completion in "' .. text .. '" offers ' .. other) end
end

-- References to IShape across files, and the workspace's symbols holding "shape".
local function range_text(location)
  local buf = vim.uri_to_bufnr(location.uri)
  vim.fn.bufload(buf)
  local line = vim.api.nvim_buf_get_lines(buf, location.range.start.line, location.range.start.line + 1, false)[1] or ''
  return line:sub(location.range.start.character + 1, location.range['end'].character)
end
local params = { textDocument = vim.lsp.util.make_text_document_params(geometry),
                 position = at(geometry, 'interface IShape', 10), context = { includeDeclaration = true } }
local references = (vim.lsp.buf_request_sync(geometry, 'textDocument/references', params, 5000) or {})[client] or {}
local texts = vim.tbl_map(range_text, references.result or {})
check(#texts == 4, 'references to IShape: expected 4, got ' .. #texts .. ': ' .. table.concat(texts, ', '))
check(vim.tbl_contains(texts, 'Geometry::IShape'), 'references to IShape miss the qualified one in 3-drawing.idl')
for _, text in ipairs(texts) do check(text == 'IShape' or text == 'Geometry::IShape', 'a reference to IShape is on ' .. text) end
local found_symbols = (vim.lsp.buf_request_sync(geometry, 'workspace/symbol', { query = 'shape' }, 5000) or {})[client] or {}
local symbol_names = vim.tbl_map(function(s) return s.name end, found_symbols.result or {})
check(vim.tbl_contains(symbol_names, 'IShapeGroup') and vim.tbl_contains(symbol_names, 'shapes'),
      'workspace symbols for "shape" are ' .. table.concat(symbol_names, ', '))
for _, name in ipairs(symbol_names) do check(name:lower():find('shape', 1, true), 'workspace symbol ' .. name .. ' lacks "shape"') end

-- Diagnostics follow the unsaved text: a misspelling appears, then goes when it is undone.
local place = at(drawing, 'BlendMode mode')
local line = vim.api.nvim_buf_get_lines(drawing, place.line, place.line + 1, false)[1]
vim.api.nvim_buf_set_lines(drawing, place.line, place.line + 1, false, { (line:gsub('BlendMode mode', 'BlendMod mode')) })
found = diagnostics_of(drawing, 1)
check(#found == 1 and found[1].message:find('did you mean "BlendMode"?', 1, true) and found[1].lnum == place.line,
      '3-drawing.idl: the edit did not give its diagnostic')
vim.api.nvim_buf_set_lines(drawing, place.line, place.line + 1, false, { line })
check(#diagnostics_of(drawing, 0) == 0, '3-drawing.idl: the diagnostic stayed after the fix')

vim.lsp.stop_client(client)
vim.wait(5000, function() return vim.lsp.client_is_stopped(client) end, 10)
check(vim.lsp.client_is_stopped(client), 'the server did not stop')

for _, failure in ipairs(failures) do io.stderr:write('FAILED: ' .. failure .. '\n') end
io.stderr:write(#failures == 0 and 'all checks passed\n' or '')
vim.cmd(#failures == 0 and 'qall!' or 'cquit 1')
