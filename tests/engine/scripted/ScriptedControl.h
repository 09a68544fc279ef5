/*
 * Control interface of the scripted test engine (libOrvantaScripted.so),
 * exported beside the engine entry points. Tests resolve these names from
 * the same loaded library as the code under test, so both talk to one
 * instance. tests/support/ScriptedEngine.h wraps them for C++.
 */
#ifndef ORVANTA_SCRIPTED_CONTROL_H
#define ORVANTA_SCRIPTED_CONTROL_H

#ifdef __cplusplus
extern "C" {
#endif

#define SCRIPTED_API __attribute__((visibility("default")))

/* Forgets recorded calls and chosen results (callbacks stay set). */
SCRIPTED_API void scripted_reset(void);

/* Recorded entry-point calls, oldest first. Texts are copied into buffer
 * (NUL-terminated, truncated to capacity); the functions return the full
 * length, -1 for an index out of range and -2 for a NULL argument. Integer
 * arguments are recorded as decimal text. */
SCRIPTED_API int scripted_recordCount(void);
SCRIPTED_API int scripted_recordName(int index, char* buffer, int capacity);
SCRIPTED_API int scripted_recordArgCount(int index);
SCRIPTED_API int scripted_recordArg(int index, int arg, char* buffer, int capacity);

/* Results returned by an entry point (by name, e.g. "dll_makeCall"):
 * queued results are used first, in order; then the fixed result; without
 * either, dll_registerAccount and dll_makeCall hand out 1, 2, 3 ... and the
 * others return 0. */
SCRIPTED_API void scripted_setResult(const char* entryPoint, int result);
SCRIPTED_API void scripted_queueResult(const char* entryPoint, int result);

/* Fire a callback. Events are delivered in order on the scripted engine's
 * own thread; these calls only queue them and return at once. An event
 * whose callback is not set is dropped. */
SCRIPTED_API void scripted_fireRegState(int accountId, int sipCode);
SCRIPTED_API void scripted_fireCallState(int callId, int state);
SCRIPTED_API void scripted_fireIncoming(int callId, const char* callerUri);
SCRIPTED_API void scripted_fireDtmf(int callId, int digit);
SCRIPTED_API void scripted_fireHoldConfirm(int callId);
SCRIPTED_API void scripted_fireMessage(const char* senderUri, const char* text);

/* Waits until every queued event was delivered; 1 when idle, 0 on timeout. */
SCRIPTED_API int scripted_waitIdle(int timeoutMs);

/* 1 when the callback of that setter (e.g. "onCallStateCallback") is set. */
SCRIPTED_API int scripted_hasCallback(const char* setterName);

#ifdef __cplusplus
}
#endif

#endif
