/* grammar.y: the IDL grammar; each action hands its parts to one function of the tree layer. */
%{
/* Release the parse stacks when each parse ends; the next parse allocates them again. */
#define YY_NO_LEAKS 1

#include "frontend/parser.h"

#include <cstring>

#include "driver/parse_context.h"
#include "frontend/lexer.h"
#include "tree/assembly.h"

using namespace ZEMRA::IDL::PARSER;

static int yylex(void);
static void yyerror(const char* message);
%}

%union {
    TokenText* text;
    int32_t number;
    ParserAttribList* attributes;
    LibraryBody* body;
    ParserLibraryItem* item;
    ParserCatID* categoryID;
    ParserEnumeration* enumeration;
    EnumItemList* enumItems;
    ParserInterface* iface;
    NameList* names;
    MethodList* methods;
    ParserMethod* method;
    ArgList* arguments;
    TypeList* types;
    ParserType* type;
}

%token <text> IDENTIFIER 257
%token <text> ATTRIBUTE_VALUE 258
%token <number> NUMBER 259
%token LIBRARY 260
%token ENUM 261
%token INTERFACE 262
%token CATEGORY 263

%type <attributes> attributes_opt attribute_list first_attribute
%type <body> library_body
%type <item> library_item
%type <categoryID> category_decl
%type <enumeration> enum_decl
%type <enumItems> enum_item_list
%type <iface> interface_decl
%type <names> template_params
%type <methods> method_list
%type <method> method_decl
%type <arguments> argument_list
%type <types> type_list
%type <type> template_type

%start library_decl

%%

library_decl
    : attributes_opt LIBRARY IDENTIFIER '{' library_body '}' ';'
        { fillLibrary(newContextLibrary(), $1, $3, $5); }
    ;

/* A list of one attribute, the commonest, is written out in attributes_opt, and a longer list
   starts with first_attribute, so that a one-attribute list costs the parser one reduction
   instead of two. Attributes are written out in every rule of a list for the same reason. */
attributes_opt
    : /* empty */                       { $$ = nullptr; }
    | '[' IDENTIFIER ']'                { $$ = startAttributeList(makeAttribute($2, nullptr)); }
    | '[' IDENTIFIER '(' ATTRIBUTE_VALUE ')' ']'
        { $$ = startAttributeList(makeAttribute($2, $4)); }
    | '[' attribute_list ']'            { $$ = $2; }
    ;

/* Two attributes or more. */
attribute_list
    : first_attribute ',' IDENTIFIER    { $$ = appendAttribute($1, makeAttribute($3, nullptr)); }
    | first_attribute ',' IDENTIFIER '(' ATTRIBUTE_VALUE ')'
        { $$ = appendAttribute($1, makeAttribute($3, $5)); }
    | attribute_list ',' IDENTIFIER     { $$ = appendAttribute($1, makeAttribute($3, nullptr)); }
    | attribute_list ',' IDENTIFIER '(' ATTRIBUTE_VALUE ')'
        { $$ = appendAttribute($1, makeAttribute($3, $5)); }
    ;

first_attribute
    : IDENTIFIER                        { $$ = startAttributeList(makeAttribute($1, nullptr)); }
    | IDENTIFIER '(' ATTRIBUTE_VALUE ')' { $$ = startAttributeList(makeAttribute($1, $3)); }
    ;

library_body
    : library_item                      { $$ = startList($1); }
    | library_body library_item         { $$ = appendToList($1, $2); }
    ;

library_item
    : enum_decl                         { $$ = wrapItem($1); }
    | interface_decl                    { $$ = wrapItem($1); }
    | category_decl                     { $$ = wrapItem($1); }
    ;

category_decl
    : attributes_opt CATEGORY IDENTIFIER ';'
        { $$ = makeCategoryID($1, $3); }
    ;

enum_decl
    : attributes_opt ENUM '{' enum_item_list '}' IDENTIFIER ';'
        { $$ = makeEnumeration($1, $4, $6); }
    ;

/* Items, arguments and attributes are written out in both rules of their lists, which saves
   the parser a reduction per element on the commonest elements. */
enum_item_list
    : IDENTIFIER '=' NUMBER             { $$ = startList(makeEnumItem($1, $3)); }
    | enum_item_list ',' IDENTIFIER '=' NUMBER
        { $$ = appendEnumItem($1, $3, $5); }
    ;

interface_decl
    : attributes_opt INTERFACE IDENTIFIER '{' method_list '}' ';'
        { $$ = precheckedInterface(makeInterface($1, $3, nullptr, $5)); }
    | attributes_opt INTERFACE IDENTIFIER '<' template_params '>' '{' method_list '}' ';'
        { $$ = precheckedInterface(makeInterface($1, $3, $5, $8)); }
    | attributes_opt INTERFACE IDENTIFIER '{' '}' ';'
        { $$ = makeInterface($1, $3, nullptr, nullptr); }
    | attributes_opt INTERFACE IDENTIFIER '<' template_params '>' '{' '}' ';'
        { $$ = makeInterface($1, $3, $5, nullptr); }
    ;

template_params
    : IDENTIFIER                        { $$ = startNames($1); }
    | template_params ',' IDENTIFIER    { $$ = appendName($1, $3); }
    ;

method_list
    : method_decl                       { $$ = startList($1); }
    | method_list method_decl           { $$ = appendToList($1, $2); }
    ;

/* A type that is a bare name is written out where a type stands, so that it costs the parser
   no reduction of its own; a type with template arguments is a template_type. The stack holds as
   many entries at every step as it would with one rule for every type. */
method_decl
    : attributes_opt IDENTIFIER IDENTIFIER '(' ')' ';'
        { $$ = makeMethod($1, makeType($2, nullptr), $3, nullptr); }
    | attributes_opt template_type IDENTIFIER '(' ')' ';'
        { $$ = makeMethod($1, $2, $3, nullptr); }
    | attributes_opt IDENTIFIER IDENTIFIER '(' argument_list ')' ';'
        { $$ = makeMethod($1, makeType($2, nullptr), $3, $5); }
    | attributes_opt template_type IDENTIFIER '(' argument_list ')' ';'
        { $$ = makeMethod($1, $2, $3, $5); }
    ;

argument_list
    : attributes_opt IDENTIFIER IDENTIFIER
        { $$ = startList(makeArgument($1, makeType($2, nullptr), $3)); }
    | attributes_opt template_type IDENTIFIER
        { $$ = startList(makeArgument($1, $2, $3)); }
    | argument_list ',' attributes_opt IDENTIFIER IDENTIFIER
        { $$ = appendToList($1, makeArgument($3, makeType($4, nullptr), $5)); }
    | argument_list ',' attributes_opt template_type IDENTIFIER
        { $$ = appendToList($1, makeArgument($3, $4, $5)); }
    ;

type_list
    : IDENTIFIER                        { $$ = startList(makeType($1, nullptr)); }
    | template_type                     { $$ = startList($1); }
    | type_list ',' IDENTIFIER          { $$ = appendToList($1, makeType($3, nullptr)); }
    | type_list ',' template_type       { $$ = appendToList($1, $3); }
    ;

template_type
    : IDENTIFIER '<' type_list '>'      { $$ = makeType($1, $3); }
    ;

%%

static_assert(IDENTIFIER == kIdentifier && ATTRIBUTE_VALUE == kAttributeValue && NUMBER == kNumber &&
                  LIBRARY == kLibrary && ENUM == kEnum && INTERFACE == kInterface && CATEGORY == kCategory,
              "the grammar's token codes are the lexer's");

/* Pulls the next token into the look-ahead value slot. */
static int yylex(void) {
    static_assert(sizeof(YYSTYPE) == sizeof(TokenValue), "a token's value fills the value slot exactly");
    // The slot takes the value whatever the token: only identifiers, attribute values and
    // numbers are read back, as $n of their own kind, and their value is theirs.
    const Token token = nextToken();
    std::memcpy(&yylval, &token.value, sizeof token.value);
    return token.code;
}

/* Defined by the parser skeleton further down. */
static void yyfreestack(YYSTACKDATA* data);

/* Reports a parse failure with the position the lexer has reached. */
static void yyerror(const char* message) { reportParseError(message); }

namespace ZEMRA::IDL::PARSER {

int parse() {
    try {
        return yyparse() == 0 ? 0 : 1;
    } catch (...) {
        // An exception from an action leaves the stacks allocated; the next parse would
        // otherwise reuse them half-filled.
        yyfreestack(&yystack);
        throw;
    }
}

}  // namespace ZEMRA::IDL::PARSER
