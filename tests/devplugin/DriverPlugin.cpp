// A plug-in with only the driver-like entry points.
#define DRIVER_EXPORT extern "C" __declspec(dllexport)

DRIVER_EXPORT int __stdcall Open(int a, int b, int c, int d, int e, int f)
{
    return a + 10 * b + 100 * c + 1000 * d + 10000 * e + 100000 * f;
}
DRIVER_EXPORT int __stdcall Close() { return 2; }
DRIVER_EXPORT int __stdcall Run(int n) { return n * 3; }
DRIVER_EXPORT int __stdcall Stop() { return 4; }
DRIVER_EXPORT int __stdcall GetDate(int, int, int, int, int, int) { return 5; }
DRIVER_EXPORT int __stdcall GetType() { return 6; }
DRIVER_EXPORT const char* __stdcall GetVersion() { return "Driver 1.0"; }
