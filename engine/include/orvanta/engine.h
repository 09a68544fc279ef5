/*
 * The SIP engine's C interface. The dialer loads libOrvanta.so at run time
 * and resolves each of these names; the scripted test engine exports the
 * same set.
 *
 * Threading: every entry point may be called from any thread. Entry points
 * queue their work for the engine thread and return without waiting on the
 * network; ids are returned at once. Callbacks run on the engine thread, never
 * inside the caller's entry-point call, and must return quickly. Callbacks
 * return 1.
 *
 * The engine thread sleeps while nothing happens: it waits inside the SIP
 * stack's own main loop (belle-sip's belle_sip_main_loop_sleep), so a SIP
 * message or a stack timer (retransmission, registration refresh) is handled
 * the moment it is due, an entry point wakes it through an eventfd that the
 * same loop watches, and the core's other work (linphone_core_iterate) runs
 * after every wake-up. Idle and registered it wakes for the refreshes only,
 * and at the latest every 5 s. While any call exists it ticks every 20 ms
 * (waiting on the eventfd alone, which is cheaper in CPU), because the core
 * pumps media events (received DTMF, RTP timeouts) and call timers only when
 * iterated; SIP messages during a call are then read by the next tick. liblinphone 5.1 hands out
 * its main loop only through two exported tester functions (linphone_core_get_sal,
 * sal_get_stack_impl); when they are missing the engine ticks every 20 ms.
 *
 * What the engine leaves out: no mediastreamer plugins (an empty plugin
 * folder), no sound-card probing when null audio is asked or no sound system
 * is present (no PulseAudio socket answering, no ALSA card), no databases
 * (message store, call history, ZRTP cache), no IPv6, and no network
 * monitoring (which connect()s a UDP socket to a public address every 5 s):
 * the network counts as reachable and the contact comes from the
 * registrar's channel.
 *
 * Strings are NUL-terminated 8-bit text; the engine copies what it keeps.
 * Entry points whose result the dialer ignores return 0 on success and -1
 * when the request was refused (not initialised, bad argument). Requests
 * about an unknown call id are accepted and then ignored.
 *
 * Environment, read by dll_init:
 *   ORVANTA_ENGINE_NULL_AUDIO=1          no sound devices at all (tests);
 *                                         without a sound system the engine
 *                                         falls back to this by itself
 *   ORVANTA_ENGINE_LOG=<file>            the SIP stack's debug log (quiet
 *                                         otherwise)
 *   ORVANTA_ENGINE_REGISTER_TIMEOUT_MS   how long a registration may stay
 *                                         unanswered before 408 (default
 *                                         15000)
 *   ORVANTA_ENGINE_BIND_ADDRESS          local address for SIP (default all)
 */
#ifndef ORVANTA_ENGINE_H
#define ORVANTA_ENGINE_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define ORVANTA_API __declspec(dllexport)
#else
#define ORVANTA_API __attribute__((visibility("default")))
#endif

/* Call states reported to onCallStateCallback. Each call reports
 * ORVANTA_CALL_DISCONNECTED exactly once, however it ends. */
enum {
    ORVANTA_CALL_CALLING = 1,   /* outgoing call started */
    ORVANTA_CALL_INCOMING = 2,  /* preceded by onCallIncoming */
    ORVANTA_CALL_RINGING = 3,   /* remote is alerting; may be skipped */
    ORVANTA_CALL_ANSWERING = 4, /* call accepted */
    ORVANTA_CALL_CONNECTED = 5, /* media running */
    ORVANTA_CALL_DISCONNECTED = 6
};

/* Registration results: the registrar's final SIP status code (200 on
 * success, also after each refresh; any other code as the registrar sent it,
 * 503 included). A registrar that does not answer or cannot be reached is
 * reported as 408, once per attempt. A registration that cannot even start
 * because the engine cannot parse its account or identity address is
 * reported once as ORVANTA_REG_ADDRESS_REFUSED, a code no registrar sends. */
enum { ORVANTA_REG_ADDRESS_REFUSED = 900 };
typedef int (*OrvantaRegStateCallback)(int accountId, int sipCode);
typedef int (*OrvantaCallStateCallback)(int callId, int state);
/* callerUri is the caller's bare SIP URI ("sip:user@host"). */
typedef int (*OrvantaCallIncomingCallback)(int callId, const char* callerUri);
/* digit is the character received ('0'-'9', '*', '#', 'A'-'D'). */
typedef int (*OrvantaDtmfDigitCallback)(int callId, int digit);
typedef int (*OrvantaCallHoldConfirmCallback)(int callId);
typedef int (*OrvantaMessageReceivedCallback)(const char* senderUri, const char* text);

/* Starts the engine and returns 0, or -1 when it is already running or the
 * port cannot be bound. size: audio packet time in ms (0 = default).
 * sprt: local SIP UDP port (0 = any free port). A later dll_init after
 * dll_shutdown starts a fresh engine in the same process; encryption is off
 * again until a setter turns it on. */
ORVANTA_API int dll_init(int size, int sprt);

/* Registers an account and returns its id (> 0), or -1 when the engine is
 * not running or the arguments are unusable.
 * realm "*" answers any realm. proxyUri (may be NULL) becomes the outbound
 * proxy: every request of the account, REGISTER included, goes there first;
 * without it requests go to the host of accountUri. flag is reserved (the
 * dialer passes 1).
 * rereg: registration expiry in seconds (0 = 3600). rtrp: first RTP port
 * (0 = any). keep: keep-alive interval in seconds (0 = off).
 * The result comes through onRegStateCallback with this id. */
ORVANTA_API int dll_registerAccount(const char* accountUri, const char* identityUri,
                                    const char* realm, const char* user, const char* password,
                                    const char* proxyUri, int flag, int rereg, int rtrp, int keep);

/* Places a call to targetUri on the account; returns the call id (> 0) or -1.
 * A call that cannot be placed reports only ORVANTA_CALL_DISCONNECTED. */
ORVANTA_API int dll_makeCall(int accountId, const char* targetUri);
/* Accepts an incoming call; code is the SIP answer code (200; a code of 300
 * or more declines it instead, 486 as busy). */
ORVANTA_API int dll_answerCall(int callId, int code);
/* Hangs up, cancels, or declines a call still being offered. */
ORVANTA_API int dll_releaseCall(int callId);
/* Confirmed through onCallHoldConfirmCallback. */
ORVANTA_API int dll_holdCall(int callId);
ORVANTA_API int dll_retrieveCall(int callId);
/* Blind transfer. The transfer leg is reported as a NEW call id with
 * states 1 -> 4 -> 5 on success, or 6 on failure; the transferred call then
 * ends with 6, and so does the leg (this side is no longer part of it). */
ORVANTA_API int dll_xferCall(int callId, const char* targetUri);
/* Joins every connected call into one local conference. Refused (-1)
 * while no account is registered. */
ORVANTA_API int dll_callConference(int callId);
/* Sends one RFC 2833 digit; mode is reserved (the dialer passes 1). */
ORVANTA_API int dll_dialDtmf(int callId, const char* digit, int mode);
/* Records the call (16-bit mono 8 kHz WAV) to wavPath; the file is complete
 * once recording stops or the call ends. One recording at a time: starting
 * another ends the first. */
ORVANTA_API int dll_callRecording_start(int callId, const char* wavPath);
ORVANTA_API int dll_callRecording_stop(void);
/* codec: "PCMU/8000/1" style name. priority 0 disables the codec; higher
 * priorities come earlier in the offer. Names the engine lacks are ignored. */
ORVANTA_API int dll_setCodecPriority(const char* codec, int priority);
ORVANTA_API int dll_sendMessage(int accountId, const char* recipientUri, const char* text);
/* Ends every call (each reports 6), unregisters and stops, within a few
 * seconds at most. No callback runs after it returns. Refused (-1) when not
 * running or when called from inside a callback. */
ORVANTA_API int dll_shutdown(void);

/* Encryption. on = 1 from any setter means signalling over TLS to the
 * outbound proxy and mandatory SRTP; on = 0 means plain UDP and RTP. The
 * numeric keys (k*, p*) and the key text are kept but have no further
 * effect. Takes effect for accounts registered afterwards. */
ORVANTA_API int dll_setSIPEncryptionConfiguration(int on, int k1, int k0);
ORVANTA_API int dll_setRTPEncryptionConfiguration(int on, int k1, int k0, int flag, int p1, int p2,
                                                  int p0);
ORVANTA_API int dll_new_setSIPEncryptionConfiguration(int on, int k1, int k0, int k2);
ORVANTA_API int dll_set_new_RTPEncryptionConfiguration(int on, int k1, int k0, int k2, int flag,
                                                       int p1, int p2, int p0);
ORVANTA_API int dll_setSIPEncryptionConfiguration2(int on, const char* key);
ORVANTA_API int dll_setRTPEncryptionConfiguration2(int on, const char* key);

/* Network settings for the next dll_init (an engine already running keeps
 * what it started with). Each returns 0, or -1 for a value out of range.
 * dll_setLocalSipPort: the local SIP UDP port, 0 = any free port; it takes
 * the place of dll_init's sprt. dll_setFirstMediaPort: the first RTP port
 * (the engine uses a range of 200 from it), 0 = any free port; it takes the
 * place of dll_registerAccount's rtrp. -1 to either returns to the dll_init
 * or dll_registerAccount value. dll_setStunServer: a STUN server (host name
 * or IPv4 address, no port in it) that calls use to learn their public media
 * address; port 0 means 3478; NULL or "" turns STUN off. With STUN on,
 * calls gather ICE candidates (the SIP stack's STUN-only discovery skips the
 * audio stream in 5.1); peers without ICE ignore them. */
ORVANTA_API int dll_setLocalSipPort(int port);
ORVANTA_API int dll_setFirstMediaPort(int port);
ORVANTA_API int dll_setStunServer(const char* host, int port);

/* Codec listing, in offer order, disabled codecs included (0 / -1 while the
 * engine is not running): dll_getCodec copies the name of codec index
 * (0-based) into buffer (NUL-terminated, truncated to capacity) and returns
 * the name's full length, or -1 for an index out of range. */
ORVANTA_API int dll_getNumOfCodecs(void);
ORVANTA_API int dll_getCodec(int index, char* buffer, int capacity);

/* Callback setters; NULL removes the callback. */
ORVANTA_API void onRegStateCallback(OrvantaRegStateCallback callback);
ORVANTA_API void onCallStateCallback(OrvantaCallStateCallback callback);
ORVANTA_API void onCallIncoming(OrvantaCallIncomingCallback callback);
ORVANTA_API void onDtmfDigitCallback(OrvantaDtmfDigitCallback callback);
ORVANTA_API void onCallHoldConfirmCallback(OrvantaCallHoldConfirmCallback callback);
ORVANTA_API void onMessageReceivedCallback(OrvantaMessageReceivedCallback callback);

#ifdef __cplusplus
}
#endif

#endif
