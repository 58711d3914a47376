/* The engine library Kestra2013_DLL: one complete analysis per call.
 *
 * IKESTRA / _IKESTRA (the same entry under two names): called with the interface
 * version 10, reads the four-line file list NAMES.dat (any letter case) from the
 * current working directory - input data file, output report, plot data file,
 * processor-run notes - and runs every problem of the input data file. Returns 1
 * at once, touching no file, for any other argument; otherwise 0, also when the
 * data were bad (the report says why) or the file list was missing (two lines
 * on the standard error stream).
 *
 * KestraRunFiles: the same run on four named files, without a file list or a
 * working directory. Returns 0.
 *
 * Each call keeps its state in its own context, so calls on different files may
 * run one after another or side by side in one process. */
#ifndef KESTRA_ENGINE_H
#define KESTRA_ENGINE_H

#include <stdint.h>

#if defined(_WIN32)
#if defined(KESTRA_BUILDING_ENGINE)
#define KESTRA_API __declspec(dllexport)
#else
#define KESTRA_API __declspec(dllimport)
#endif
#define KESTRA_CALL __stdcall
#else
#define KESTRA_API __attribute__((visibility("default")))
#define KESTRA_CALL
#endif

#define KESTRA_INTERFACE_VERSION 10

#ifdef __cplusplus
extern "C" {
#endif

KESTRA_API int32_t KESTRA_CALL IKESTRA(int32_t version);
KESTRA_API int32_t KESTRA_CALL _IKESTRA(int32_t version);
KESTRA_API int32_t KestraRunFiles(const char* input, const char* report, const char* plot, const char* notes);

/* Signatures for callers that bind the library at run time. */
typedef int32_t(KESTRA_CALL* KestraEntryFn)(int32_t);
typedef int32_t (*KestraRunFilesFn)(const char*, const char*, const char*, const char*);

#ifdef __cplusplus
}
#endif

#endif
