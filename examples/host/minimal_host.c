/* minimal_host.c: a whole host in C; checks the IDL files named on its command line. */
#include <lumoidl/lumoidl.h>
#include <stdio.h>

typedef struct { ILumoString record; LumoChar text[1024]; uint32_t length; } Text;

static LUMORESULT textGet(void* me, const LumoChar** data, uint32_t* length) {
    Text* t = me; *data = t->text; *length = t->length; return LUMO_OK;
}
static LUMORESULT textSet(void* me, const LumoChar* data, uint32_t length) {
    Text* t = me; t->length = length < 1023 ? length : 1023;
    for (uint32_t i = 0; i < t->length; ++i) t->text[i] = data[i];
    t->text[t->length] = 0; return LUMO_OK;
}
static const ILumoStringVtbl textTable = {textGet, textSet};

typedef struct { ILumoStringArray record; ILumoString* items[64]; uint32_t count; } Names;
static LUMORESULT namesGet(void* me, ILumoString* const** items, uint32_t* count) {
    Names* n = me; *items = n->items; *count = n->count; return LUMO_OK;
}
static const ILumoStringArrayVtbl namesTable = {namesGet};

int main(int argc, char** argv) {
    static Text files[64], message = {{&message, &textTable}, {0}, 0};
    static Names names = {{&names, &namesTable}, {0}, 0};
    for (int i = 1; i < argc && i <= 64; ++i) {  /* ASCII file names, one unit per byte */
        Text* file = &files[i - 1];
        file->record = (ILumoString){file, &textTable};
        while (argv[i][file->length] && file->length < 1023) file->text[file->length] = (unsigned char)argv[i][file->length], file->length++;
        names.items[names.count++] = &file->record;
    }
    ILumoIDLParseResult* result = LumoIDLParse(&names.record);
    ILumoIDLParseResult_getErrorMessage(result, &message.record);
    for (uint32_t i = 0; i < message.length; ++i) putchar(message.text[i] < 128 ? (char)message.text[i] : '?');
    if (message.length == 0) printf("%d libraries, %d interfaces", ILumoIDLParseResult_getLibraryCount(result), ILumoIDLParseResult_getInterfaceCount(result));
    putchar('\n');
    ILumoIDLParseResult_release(result);
    return message.length ? 1 : 0;
}
