#include "conversion/TxvEngineApi.h"

#include "FullWidthResource.h"
#include "engines/common/EngineGuard.h"
#include "engines/common/EngineText.h"

namespace {

HINSTANCE g_hInstance;

// The full-width form of each character from the space (0x20) to the tilde
// (0x7E) in code page 932. The straight quotation marks become the curly ones
// of JIS X 0208: their full-width forms exist only among the vendor
// extensions, which converters encode differently.
const WORD kFullWidth[0x7F - 0x20] = {
    0x8140, 0x8149, 0x8168, 0x8194, 0x8190, 0x8193, 0x8195, 0x8166, 0x8169, 0x816A, 0x8196, 0x817B, 0x8143, 0x817C,
    0x8144, 0x815E, 0x824F, 0x8250, 0x8251, 0x8252, 0x8253, 0x8254, 0x8255, 0x8256, 0x8257, 0x8258, 0x8146, 0x8147,
    0x8183, 0x8181, 0x8184, 0x8148, 0x8197, 0x8260, 0x8261, 0x8262, 0x8263, 0x8264, 0x8265, 0x8266, 0x8267, 0x8268,
    0x8269, 0x826A, 0x826B, 0x826C, 0x826D, 0x826E, 0x826F, 0x8270, 0x8271, 0x8272, 0x8273, 0x8274, 0x8275, 0x8276,
    0x8277, 0x8278, 0x8279, 0x816D, 0x815F, 0x816E, 0x814F, 0x8151, 0x814D, 0x8281, 0x8282, 0x8283, 0x8284, 0x8285,
    0x8286, 0x8287, 0x8288, 0x8289, 0x828A, 0x828B, 0x828C, 0x828D, 0x828E, 0x828F, 0x8290, 0x8291, 0x8292, 0x8293,
    0x8294, 0x8295, 0x8296, 0x8297, 0x8298, 0x8299, 0x829A, 0x816F, 0x8162, 0x8170, 0x8160,
};

// The ampersand stays: in a control's caption it marks the access key, and a
// full-width one would show as a character instead.
bool IsConverted(BYTE ch)
{
    return ch >= 0x20 && ch <= 0x7E && ch != '&';
}

// Converts character by character while whole characters fit, so a long
// caption is cut at a character boundary. Returns non-zero only when at least
// one character was converted: an untouched caption is not rewritten.
BOOL ToFullWidth(LPCSTR text, LPSTR outBuffer, int outBufferSize)
{
    if (outBufferSize <= 0)
        return FALSE;
    const BYTE* in = reinterpret_cast<const BYTE*>(text);
    int used = 0;
    BOOL changed = FALSE;
    while (*in != '\0') {
        bool converted = IsConverted(in[0]);
        BYTE piece[2] = {in[0], 0};
        int consumed = 1;
        int length = 1;
        if (converted) {
            piece[0] = HIBYTE(kFullWidth[in[0] - 0x20]);
            piece[1] = LOBYTE(kFullWidth[in[0] - 0x20]);
            length = 2;
        } else if (IsDBCSLeadByteEx(932, in[0]) && in[1] != '\0') {
            piece[1] = in[1];
            consumed = length = 2;
        }
        if (used + length > outBufferSize - 1)
            break;
        CopyMemory(outBuffer + used, piece, length);
        used += length;
        in += consumed;
        changed = changed || converted;
    }
    outBuffer[used] = '\0';
    return changed;
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        g_hInstance = instance;
    return TRUE;
}

DWORD WINAPI TXVGetAPIVersion(void)
{
    return TXV_API_VERSION_1;
}

BOOL WINAPI TXVGetEngineDescription(LPSTR buffer, int bufferSize)
{
    return Guarded(FALSE, [&] { return CopyEngineText(g_hInstance, IDS_FULLWIDTH_DESCRIPTION, buffer, bufferSize); });
}

BOOL WINAPI TXVGetEngineVersion(LPSTR buffer, int bufferSize)
{
    return Guarded(FALSE, [&] { return CopyEngineText(g_hInstance, IDS_FULLWIDTH_VERSION, buffer, bufferSize); });
}

BOOL WINAPI TXVInitEngine(void)
{
    return TRUE;
}

// Nothing here throws; the guard keeps it so when the body grows.
BOOL WINAPI TXVConvertCaptionString(LPCSTR, LPCSTR text, LPSTR outBuffer, int outBufferSize)
{
    return Guarded(FALSE, [&] { return ToFullWidth(text, outBuffer, outBufferSize); });
}

