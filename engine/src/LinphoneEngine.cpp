#include "LinphoneEngine.h"

#include "Callbacks.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mediastreamer2/mssndcard.h>
#include <strings.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace orvanta::engine {

namespace {

constexpr auto kCallEndBound = std::chrono::milliseconds(2000);
constexpr auto kUnregisterBound = std::chrono::milliseconds(2000);
constexpr int kRtpPortSpan = 200;
// A transfer whose outcome the transferee never reports counts as failed.
constexpr auto kTransferBound = std::chrono::seconds(32);
// While a call exists the core's media events and call timers are pumped
// only by iterating, so the thread ticks; otherwise it sleeps until a SIP
// message, a stack timer, a command or one of our deadlines, and at the
// latest after kIdleWait.
constexpr auto kCallTick = std::chrono::milliseconds(20);
constexpr auto kIdleWait = std::chrono::milliseconds(5000);
// Without access to the SIP stack's main loop the thread ticks always.
constexpr auto kFallbackTick = std::chrono::milliseconds(20);

std::string withSlash(const std::filesystem::path& dir)
{
    std::string text = dir.string();
    if (text.empty() || text.back() != '/')
        text.push_back('/');
    return text;
}

std::filesystem::path makeWorkDir()
{
    static std::atomic<int> counter{0};
    std::error_code error;
    auto base = std::filesystem::temp_directory_path(error);
    if (error)
        base = "/tmp";
    const auto dir =
        base / ("orvanta-engine-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
    std::filesystem::create_directories(dir, error);
    return dir;
}

// "sip:user@host" without display name, port or parameters.
std::string bareUri(const LinphoneAddress* address)
{
    if (!address)
        return {};
    const char* scheme = linphone_address_get_scheme(address);
    const char* user = linphone_address_get_username(address);
    const char* domain = linphone_address_get_domain(address);
    std::string uri = scheme && *scheme ? scheme : "sip";
    uri += ':';
    if (user && *user) {
        uri += user;
        uri += '@';
    }
    if (domain)
        uri += domain;
    return uri;
}

LinphoneAddress* parseAddress(const std::string& text)
{
    if (text.empty())
        return nullptr;
    return linphone_factory_create_address(linphone_factory_get(), text.c_str());
}

std::string codecName(const LinphonePayloadType* type)
{
    const char* mime = linphone_payload_type_get_mime_type(type);
    return std::string(mime ? mime : "") + "/" +
           std::to_string(linphone_payload_type_get_clock_rate(type)) + "/" +
           std::to_string(linphone_payload_type_get_channels(type));
}

// The registrar's own final code. The SIP stack makes up a 503 "io error"
// (or a "timeout") when the registrar cannot be reached or never answers;
// those count as a timeout, while a 503 the registrar sent stays 503.
int registrationCode(LinphoneAccount* account)
{
    const LinphoneErrorInfo* info = linphone_account_get_error_info(account);
    if (!info)
        return 408;
    const int code = linphone_error_info_get_protocol_code(info);
    const char* phrase = linphone_error_info_get_phrase(info);
    const bool madeUpLocally =
        phrase && (strcasecmp(phrase, "io error") == 0 || strcasecmp(phrase, "timeout") == 0);
    if (linphone_error_info_get_reason(info) == LinphoneReasonNoResponse || madeUpLocally ||
        code < 300 || code > 699)
        return 408;
    return code;
}

void moveFile(const std::filesystem::path& from, const std::filesystem::path& to)
{
    std::error_code error;
    std::filesystem::rename(from, to, error);
    if (!error)
        return;
    // Different file systems: copy, then drop the original.
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
    std::filesystem::remove(from, error);
}

// One second of 16-bit mono 8 kHz silence.
bool writeSilence(const std::filesystem::path& path)
{
    constexpr uint32_t dataBytes = 16000;
    std::string wav = "RIFF";
    auto put = [&wav](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            wav.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
    };
    put(36 + dataBytes, 4);
    wav += "WAVEfmt ";
    put(16, 4);
    put(1, 2);
    put(1, 2);
    put(8000, 4);
    put(16000, 4);
    put(2, 2);
    put(16, 2);
    wav += "data";
    put(dataBytes, 4);
    wav.append(dataBytes, '\0');
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(wav.data(), static_cast<std::streamsize>(wav.size()));
    return static_cast<bool>(out);
}

// A sound server socket that accepts a connection, or an ALSA card.
bool soundSystemPresent()
{
    std::string socketPath;
    if (const char* server = std::getenv("PULSE_SERVER"); server && *server) {
        const std::string text = server;
        if (text.rfind("unix:", 0) != 0)
            return true;  // a network server: let the card probe decide
        socketPath = text.substr(5);
    } else if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
        socketPath = std::string(runtime) + "/pulse/native";
    }
    if (!socketPath.empty() && socketPath.size() < sizeof(sockaddr_un::sun_path)) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
        const bool answered =
            fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
        if (fd >= 0)
            ::close(fd);
        if (answered)
            return true;
    }
    std::error_code error;
    return std::filesystem::exists("/dev/snd/controlC0", error);
}

bool isLive(LinphoneCallState state)
{
    switch (state) {
    case LinphoneCallStateStreamsRunning:
    case LinphoneCallStatePaused:
    case LinphoneCallStatePausing:
    case LinphoneCallStateResuming:
    case LinphoneCallStatePausedByRemote:
    case LinphoneCallStateUpdating:
    case LinphoneCallStateUpdatedByRemote:
    case LinphoneCallStateConnected:
        return true;
    default:
        return false;
    }
}

}

LinphoneEngine::LinphoneEngine(EngineSettings settings, std::atomic<int>& nextCallId)
        : settings_(std::move(settings)), nextCallId_(nextCallId)
{
}

LinphoneEngine::~LinphoneEngine()
{
    if (core_)
        shutdown();
}

LinphoneEngine* LinphoneEngine::from(LinphoneCore* core)
{
    LinphoneCoreCbs* cbs = linphone_core_get_current_callbacks(core);
    return cbs ? static_cast<LinphoneEngine*>(linphone_core_cbs_get_user_data(cbs)) : nullptr;
}

void LinphoneEngine::configureLogging()
{
    LinphoneLoggingService* logging = linphone_logging_service_get();
    if (settings_.logFile.empty()) {
        linphone_logging_service_set_log_level(logging, LinphoneLogLevelFatal);
        return;
    }
    const std::filesystem::path file(settings_.logFile);
    const auto dir = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    linphone_logging_service_set_log_file(logging, dir.c_str(), file.filename().c_str(), 0);
    linphone_logging_service_set_log_level(logging, LinphoneLogLevelDebug);
}

// Settings the core reads while it is created: what it must not load.
LinphoneConfig* LinphoneEngine::makeConfig(int sipPort) const
{
    LinphoneConfig* config = linphone_factory_create_config(linphone_factory_get(), nullptr);
    // No call history or ZRTP cache on disk: the application keeps its own
    // records and encrypts with SRTP. Sending a message needs the message
    // store, so it lives in memory.
    linphone_config_set_string(config, "storage", "uri", ":memory:");
    linphone_config_set_string(config, "storage", "call_logs_db_uri", "null");
    linphone_config_set_string(config, "storage", "zrtp_secrets_db_uri", "null");
    linphone_config_set_int(config, "misc", "store_chat_messages", 0);
    // IPv4 only, decided before the transports open (without the migration
    // mark the core drops use_ipv6 and turns IPv6 on), and the first
    // transports are already the right ones rather than 5060 over UDP and TCP.
    linphone_config_set_int(config, "sip", "ipv6_migration_done", 1);
    linphone_config_set_int(config, "sip", "use_ipv6", 0);
    linphone_config_set_int(config, "sip", "sip_port", sipPort);
    linphone_config_set_int(config, "sip", "sip_tcp_port", LC_SIP_TRANSPORT_DISABLED);
    // The core would otherwise connect() a UDP socket to a public address
    // every 5 s to watch its local address, and once more to guess a contact
    // host; the registrar's channel gives the contact.
    linphone_config_set_int(config, "sip", "auto_net_state_mon", 0);
    linphone_config_set_int(config, "sip", "guess_hostname", 0);
    if (!settings_.bindAddress.empty())
        linphone_config_set_string(config, "sip", "bind_address", settings_.bindAddress.c_str());
    return config;
}

bool LinphoneEngine::start(const StartOptions& options)
{
    configureLogging();
    workDir_ = makeWorkDir();
    LinphoneFactory* factory = linphone_factory_get();
    const std::string dir = withSlash(workDir_);
    linphone_factory_set_config_dir(factory, dir.c_str());
    linphone_factory_set_data_dir(factory, dir.c_str());
    linphone_factory_set_download_dir(factory, dir.c_str());
    // An empty plugin folder: the one plugin installed draws video and
    // brings a second GUI toolkit into the process.
    std::error_code ignored;
    std::filesystem::create_directories(workDir_ / "plugins", ignored);
    linphone_factory_set_msplugins_dir(factory, (workDir_ / "plugins").c_str());
    // Probing sound cards costs tens of milliseconds and finds nothing when
    // null audio is asked or no sound system is there.
    noSoundDevices_ = settings_.nullAudio || !soundSystemPresent();
    ms_snd_card_manager_bypass_soundcard_detection(noSoundDevices_ ? TRUE : FALSE);

    const int sipPort = options.network.sipPort.value_or(options.sipPort);
    const bool explicitPort = sipPort > 0 && sipPort <= 65535;
    LinphoneConfig* config = makeConfig(explicitPort ? sipPort : LC_SIP_TRANSPORT_RANDOM);
    core_ = linphone_factory_create_core_with_config_3(factory, config, nullptr);
    linphone_config_unref(config);
    if (!core_)
        return false;

    coreCallbacks_ = linphone_factory_create_core_cbs(factory);
    linphone_core_cbs_set_user_data(coreCallbacks_, this);
    linphone_core_cbs_set_call_state_changed(coreCallbacks_, &LinphoneEngine::onCallStateChanged);
    linphone_core_cbs_set_account_registration_state_changed(
        coreCallbacks_, &LinphoneEngine::onRegistrationChanged);
    linphone_core_cbs_set_transfer_state_changed(coreCallbacks_,
                                                 &LinphoneEngine::onTransferStateChanged);
    linphone_core_cbs_set_dtmf_received(coreCallbacks_, &LinphoneEngine::onDtmfReceived);
    linphone_core_cbs_set_message_received(coreCallbacks_, &LinphoneEngine::onMessageReceived);
    linphone_core_add_callbacks(core_, coreCallbacks_);

    linphone_core_enable_video_capture(core_, FALSE);
    linphone_core_enable_video_display(core_, FALSE);
    linphone_core_set_ring(core_, nullptr);
    linphone_core_set_ringback(core_, nullptr);
    linphone_core_set_use_rfc2833_for_dtmf(core_, TRUE);
    linphone_core_set_use_info_for_dtmf(core_, FALSE);
    linphone_core_set_media_encryption(core_, LinphoneMediaEncryptionNone);
    // The dialer holds and retrieves lines itself; a new call must not pause
    // the others behind its back.
    linphone_core_set_media_resource_mode(core_, LinphoneSharedMediaResources);
    linphone_core_set_audio_port(core_, -1);  // any free port until an account asks
    if (options.packetTimeMs > 0 && options.packetTimeMs <= 200) {
        linphone_core_set_upload_ptime(core_, options.packetTimeMs);
        linphone_core_set_download_ptime(core_, options.packetTimeMs);
    }

    LinphoneTransports* transports = linphone_factory_create_transports(factory);
    linphone_transports_set_udp_port(transports, explicitPort ? sipPort : LC_SIP_TRANSPORT_RANDOM);
    linphone_transports_set_tcp_port(transports, LC_SIP_TRANSPORT_DISABLED);
    // TLS listens from the start: switching it on later, while an account
    // registers, resets the transports and the next REGISTER was seen to
    // leave over UDP.
    linphone_transports_set_tls_port(transports, LC_SIP_TRANSPORT_RANDOM);
    linphone_transports_set_dtls_port(transports, LC_SIP_TRANSPORT_DISABLED);
    const LinphoneStatus transportStatus = linphone_core_set_transports(core_, transports);
    linphone_transports_unref(transports);

    if (transportStatus != 0 || linphone_core_start(core_) != 0) {
        shutdown();
        return false;
    }
    if (explicitPort) {
        LinphoneTransports* used = linphone_core_get_transports_used(core_);
        const bool bound = linphone_transports_get_udp_port(used) == sipPort;
        linphone_transports_unref(used);
        if (!bound) {
            shutdown();
            return false;
        }
    }
    configureNetwork(options.network);
    // Network monitoring is off, so the core is told the network is there.
    linphone_core_set_network_reachable(core_, TRUE);
    configureAudio();
    applyCodecOrder();
    sleeper_ = MainLoopSleeper::attach(core_);
    return true;
}

void LinphoneEngine::configureNetwork(const NetworkOptions& network)
{
    firstRtpPortOverride_ = network.firstRtpPort;
    stunOn_ = !network.stunHost.empty();
    if (firstRtpPortOverride_)
        applyRtpPorts(*firstRtpPortOverride_);
    if (!stunOn_)
        return;
    LinphoneNatPolicy* policy = linphone_core_create_nat_policy(core_);
    const std::string server = network.stunHost + ":" + std::to_string(network.stunPort);
    linphone_nat_policy_set_stun_server(policy, server.c_str());
    linphone_nat_policy_enable_stun(policy, TRUE);
    // The stack's STUN-only discovery skips the audio stream (5.1 looks its
    // port up by stream index and takes index 0 for none); with ICE it asks
    // the server for every stream and peers without ICE simply ignore the
    // candidates.
    linphone_nat_policy_enable_ice(policy, TRUE);
    linphone_core_set_nat_policy(core_, policy);
    linphone_nat_policy_unref(policy);
}

void LinphoneEngine::applyRtpPorts(int firstPort)
{
    if (firstPort > 0 && firstPort <= 65535 - kRtpPortSpan)
        linphone_core_set_audio_port_range(core_, firstPort, firstPort + kRtpPortSpan);
    else
        linphone_core_set_audio_port(core_, -1);  // any free port
}

std::chrono::milliseconds LinphoneEngine::nextWait() const
{
    using std::chrono::milliseconds;
    if (!sleeper_)
        return kFallbackTick;
    if (!calls_.empty() || shuttingDown_)
        return kCallTick;
    auto wait = kIdleWait;
    const auto now = std::chrono::steady_clock::now();
    auto until = [&](std::chrono::steady_clock::time_point deadline) {
        const auto left =
            std::chrono::duration_cast<milliseconds>(deadline - now) + milliseconds(1);
        wait = std::clamp(left, milliseconds(1), wait);
    };
    for (const auto& [id, entry] : accounts_) {
        if (entry.awaitingResult && !entry.timeoutReported)
            until(entry.deadline);
    }
    for (const auto& leg : transferLegs_) {
        if (!leg.ended && !leg.connected)
            until(leg.deadline);
    }
    return wait;
}

void LinphoneEngine::endSleep() const
{
    if (sleeper_)
        sleeper_->wake();
}

void LinphoneEngine::configureAudio()
{
    const bool noDevices = noSoundDevices_ || !linphone_core_get_capture_device(core_) ||
                           !linphone_core_get_playback_device(core_);
    if (!noDevices)
        return;
    linphone_core_set_use_files(core_, TRUE);
    // Silence keeps RTP flowing: some peers ignore telephone events until
    // audio has arrived.
    const auto silence = workDir_ / "silence.wav";
    linphone_core_set_play_file(core_, writeSilence(silence) ? silence.c_str() : nullptr);
    static std::atomic<bool> told{false};
    if (!settings_.nullAudio && !told.exchange(true))
        std::fprintf(stderr,
                     "orvanta engine: no sound card found; calls run without audio devices\n");
}

void LinphoneEngine::iterate()
{
    if (!core_)
        return;
    linphone_core_iterate(core_);
    checkRegistrationDeadlines();
    checkTransferDeadlines();
}

template <typename Condition>
void LinphoneEngine::iterateUntil(Condition done, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        linphone_core_iterate(core_);
        if (sleeper_)
            sleeper_->sleep(std::chrono::milliseconds(10));
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void LinphoneEngine::shutdown()
{
    if (!core_)
        return;
    shuttingDown_ = true;
    if (recording_)
        finishRecording(recording_->callId);

    for (auto& [id, record] : calls_) {
        if (!record.call || record.ended)
            continue;
        if (record.incoming &&
            linphone_call_get_state(record.call) == LinphoneCallStateIncomingReceived)
            linphone_call_decline(record.call, LinphoneReasonDeclined);
        else
            linphone_call_terminate(record.call);
    }
    iterateUntil([this] { return calls_.empty(); }, kCallEndBound);
    for (auto& [id, record] : calls_)
        reportCallEnded(id, record);
    for (auto& leg : transferLegs_) {
        if (!leg.ended) {
            leg.ended = true;
            callbacks().reportCallState(leg.legId, ORVANTA_CALL_DISCONNECTED);
        }
    }

    bool unregistering = false;
    for (auto& [id, account] : accounts_) {
        if (linphone_account_get_state(account.account) != LinphoneRegistrationOk)
            continue;
        LinphoneAccountParams* params =
            linphone_account_params_clone(linphone_account_get_params(account.account));
        linphone_account_params_set_register_enabled(params, FALSE);
        linphone_account_set_params(account.account, params);
        linphone_account_params_unref(params);
        unregistering = true;
    }
    if (unregistering) {
        iterateUntil(
            [this] {
                for (auto& [id, account] : accounts_) {
                    const auto state = linphone_account_get_state(account.account);
                    if (state == LinphoneRegistrationOk || state == LinphoneRegistrationProgress)
                        return false;
                }
                return true;
            },
            kUnregisterBound);
    }

    // The unregistration had its chance above; the core must not wait again.
    linphone_core_clear_accounts(core_);
    linphone_core_stop(core_);
    linphone_core_remove_callbacks(core_, coreCallbacks_);
    linphone_core_cbs_unref(coreCallbacks_);
    coreCallbacks_ = nullptr;
    for (auto& [id, record] : calls_) {
        if (record.call)
            linphone_call_unref(record.call);
    }
    calls_.clear();
    transferLegs_.clear();
    for (auto& [id, account] : accounts_)
        linphone_account_unref(account.account);
    accounts_.clear();
    if (sleeper_)
        sleeper_->detach();
    linphone_core_unref(core_);
    core_ = nullptr;
    registeredAccounts_ = 0;

    std::error_code error;
    std::filesystem::remove_all(workDir_, error);
}

// ---- registration ----

void LinphoneEngine::applyEncryption(bool encrypted)
{
    encrypted_ = encrypted;
    if (encrypted) {
        LinphoneTransports* transports = linphone_core_get_transports(core_);
        if (linphone_transports_get_tls_port(transports) == LC_SIP_TRANSPORT_DISABLED) {
            linphone_transports_set_tls_port(transports, LC_SIP_TRANSPORT_RANDOM);
            linphone_core_set_transports(core_, transports);
        }
        linphone_transports_unref(transports);
        // Service certificates are often self-signed; the channel is still
        // encrypted.
        linphone_core_verify_server_certificates(core_, FALSE);
        linphone_core_verify_server_cn(core_, FALSE);
        linphone_core_set_media_encryption(core_, LinphoneMediaEncryptionSRTP);
        linphone_core_set_media_encryption_mandatory(core_, TRUE);
    } else {
        linphone_core_set_media_encryption(core_, LinphoneMediaEncryptionNone);
        linphone_core_set_media_encryption_mandatory(core_, FALSE);
    }
}

void LinphoneEngine::registerAccount(int accountId, const AccountRequest& request)
{
    applyEncryption(request.encrypted);
    LinphoneAddress* identity =
        parseAddress(request.identityUri.empty() ? request.accountUri : request.identityUri);
    LinphoneAddress* account = parseAddress(request.accountUri);
    if (!identity || !account || !linphone_address_get_domain(account)) {
        if (identity)
            linphone_address_unref(identity);
        if (account)
            linphone_address_unref(account);
        callbacks().reportRegistration(accountId, ORVANTA_REG_ADDRESS_REFUSED);
        return;
    }

    LinphoneAccountParams* params = linphone_core_create_account_params(core_);
    linphone_account_params_set_identity_address(params, identity);
    // Calls of an account follow the account's NAT policy, not the core's.
    if (stunOn_)
        linphone_account_params_set_nat_policy(params, linphone_core_get_nat_policy(core_));

    // Requests go to the outbound proxy when there is one (REGISTER too, so
    // that encrypted signalling never bypasses it), else to the registrar,
    // the account URI's host. That first hop is the only route: out-of-dialog
    // requests such as MESSAGE lose the target's port and must reach the
    // service all the same.
    LinphoneAddress* server = parseAddress(request.proxyUri);
    if (!server) {
        server = linphone_address_clone(account);
        linphone_address_set_username(server, nullptr);
    }
    if (encrypted_)
        linphone_address_set_transport(server, LinphoneTransportTls);
    linphone_account_params_set_server_address(params, server);
    linphone_account_params_set_outbound_proxy_enabled(params, TRUE);
    linphone_address_unref(server);
    linphone_account_params_set_expires(params,
                                        request.expiresSeconds > 0 ? request.expiresSeconds : 3600);
    linphone_account_params_set_register_enabled(params, TRUE);
    linphone_address_unref(identity);
    linphone_address_unref(account);

    // A NULL realm answers any challenge.
    const bool anyRealm = request.realm.empty() || request.realm == "*";
    LinphoneAuthInfo* auth = linphone_factory_create_auth_info_2(
        linphone_factory_get(), request.user.c_str(), nullptr, request.password.c_str(), nullptr,
        anyRealm ? nullptr : request.realm.c_str(), nullptr, nullptr);
    linphone_core_add_auth_info(core_, auth);
    linphone_auth_info_unref(auth);

    applyRtpPorts(firstRtpPortOverride_.value_or(request.firstRtpPort));
    linphone_config_set_int(linphone_core_get_config(core_), "sip", "keepalive_period",
                            request.keepAliveSeconds > 0 ? request.keepAliveSeconds * 1000 : 30000);
    linphone_core_enable_keep_alive(core_, request.keepAliveSeconds > 0 ? TRUE : FALSE);

    LinphoneAccount* created = linphone_core_create_account(core_, params);
    linphone_account_params_unref(params);
    if (!created) {
        callbacks().reportRegistration(accountId, ORVANTA_REG_ADDRESS_REFUSED);
        return;
    }
    linphone_account_set_user_data(created,
                                   reinterpret_cast<void*>(static_cast<intptr_t>(accountId)));
    auto& entry = accounts_[accountId];
    entry.account = created;
    entry.awaitingResult = true;
    entry.deadline = std::chrono::steady_clock::now() + settings_.registerTimeout;
    if (linphone_core_add_account(core_, created) != 0) {
        callbacks().reportRegistration(accountId, ORVANTA_REG_ADDRESS_REFUSED);
        entry.awaitingResult = false;
        return;
    }
    if (accounts_.size() == 1)
        linphone_core_set_default_account(core_, created);
}

void LinphoneEngine::registrationChanged(LinphoneAccount* account, LinphoneRegistrationState state)
{
    const int accountId =
        static_cast<int>(reinterpret_cast<intptr_t>(linphone_account_get_user_data(account)));
    Account* entry = findAccount(accountId);
    if (!entry)
        return;
    switch (state) {
    case LinphoneRegistrationProgress:
        if (!entry->awaitingResult) {
            entry->awaitingResult = true;
            entry->timeoutReported = false;
            entry->deadline = std::chrono::steady_clock::now() + settings_.registerTimeout;
        }
        break;
    case LinphoneRegistrationOk:
        entry->awaitingResult = false;
        entry->timeoutReported = false;
        entry->registered = true;
        if (!shuttingDown_)
            callbacks().reportRegistration(accountId, 200);
        break;
    case LinphoneRegistrationFailed:
        entry->registered = false;
        entry->awaitingResult = false;
        // A timeout already reported for this attempt stands for its failure.
        if (!entry->timeoutReported && !shuttingDown_)
            callbacks().reportRegistration(accountId, registrationCode(account));
        entry->timeoutReported = false;
        break;
    case LinphoneRegistrationCleared:
    case LinphoneRegistrationNone:
        entry->registered = false;
        entry->awaitingResult = false;
        break;
    default:
        break;
    }
    updateRegisteredCount();
}

void LinphoneEngine::checkRegistrationDeadlines()
{
    const auto now = std::chrono::steady_clock::now();
    for (auto& [id, entry] : accounts_) {
        if (entry.awaitingResult && !entry.timeoutReported && now >= entry.deadline) {
            entry.timeoutReported = true;
            callbacks().reportRegistration(id, 408);
        }
    }
}

void LinphoneEngine::updateRegisteredCount()
{
    int count = 0;
    for (const auto& [id, entry] : accounts_)
        count += entry.registered ? 1 : 0;
    registeredAccounts_ = count;
}

LinphoneEngine::Account* LinphoneEngine::findAccount(int accountId)
{
    const auto found = accounts_.find(accountId);
    return found == accounts_.end() ? nullptr : &found->second;
}

// ---- calls ----

LinphoneEngine::Call* LinphoneEngine::findCall(int callId)
{
    const auto found = calls_.find(callId);
    return found == calls_.end() ? nullptr : &found->second;
}

int LinphoneEngine::idOf(LinphoneCall* call) const
{
    for (const auto& [id, record] : calls_) {
        if (record.call == call)
            return id;
    }
    return 0;
}

LinphoneCallParams* LinphoneEngine::callParams(LinphoneCall* call, int callId)
{
    LinphoneCallParams* params = linphone_core_create_call_params(core_, call);
    // The recorder needs its file before the media starts; a later
    // dll_callRecording_start only switches it on.
    const auto file = workDir_ / ("call-" + std::to_string(callId) + ".wav");
    linphone_call_params_set_record_file(params, file.c_str());
    calls_[callId].recordFile = file;
    return params;
}

void LinphoneEngine::reportCallEndedWithoutCall(int callId)
{
    callbacks().reportCallState(callId, ORVANTA_CALL_DISCONNECTED);
}

void LinphoneEngine::makeCall(int callId, int accountId, const std::string& target)
{
    Account* account = findAccount(accountId);
    LinphoneAddress* address = account ? parseAddress(target) : nullptr;
    if (!address) {
        reportCallEndedWithoutCall(callId);
        return;
    }
    linphone_core_set_default_account(core_, account->account);
    LinphoneCallParams* params = callParams(nullptr, callId);
    pendingOutgoingId_ = callId;
    LinphoneCall* call = linphone_core_invite_address_with_params(core_, address, params);
    pendingOutgoingId_ = 0;
    linphone_call_params_unref(params);
    linphone_address_unref(address);

    Call& record = calls_[callId];
    if (!record.call && call) {
        record.call = linphone_call_ref(call);
        callbacks().reportCallState(callId, ORVANTA_CALL_CALLING);
    }
    if (!record.call) {
        std::error_code error;
        std::filesystem::remove(record.recordFile, error);
        calls_.erase(callId);
        reportCallEndedWithoutCall(callId);
    }
}

void LinphoneEngine::callStateChanged(LinphoneCall* call, LinphoneCallState state)
{
    int id = idOf(call);
    if (id == 0) {
        if (state == LinphoneCallStateOutgoingInit) {
            // Ours when dll_makeCall is inviting; otherwise started by the
            // SIP stack itself (a transfer we were asked to follow).
            id = pendingOutgoingId_ ? pendingOutgoingId_ : nextCallId_.fetch_add(1);
            calls_[id].call = linphone_call_ref(call);
        } else if (state == LinphoneCallStateIncomingReceived) {
            id = nextCallId_.fetch_add(1);
            Call& record = calls_[id];
            record.call = linphone_call_ref(call);
            record.incoming = true;
        } else {
            return;
        }
    }
    Call& record = calls_[id];
    switch (state) {
    case LinphoneCallStateOutgoingInit:
        callbacks().reportCallState(id, ORVANTA_CALL_CALLING);
        break;
    case LinphoneCallStateIncomingReceived:
        if (shuttingDown_) {
            linphone_call_decline(call, LinphoneReasonBusy);
            break;
        }
        callbacks().reportIncoming(id, bareUri(linphone_call_get_remote_address(call)));
        callbacks().reportCallState(id, ORVANTA_CALL_INCOMING);
        break;
    case LinphoneCallStateOutgoingRinging:
    case LinphoneCallStateOutgoingEarlyMedia:
        if (!record.ringingReported && !record.answeredReported) {
            record.ringingReported = true;
            callbacks().reportCallState(id, ORVANTA_CALL_RINGING);
        }
        break;
    case LinphoneCallStateConnected:
    case LinphoneCallStateStreamsRunning:
        if (!record.answeredReported) {
            record.answeredReported = true;
            callbacks().reportCallState(id, ORVANTA_CALL_ANSWERING);
        }
        if (state == LinphoneCallStateStreamsRunning && !record.connectedReported) {
            record.connectedReported = true;
            callbacks().reportCallState(id, ORVANTA_CALL_CONNECTED);
        }
        break;
    case LinphoneCallStatePaused:
        callbacks().reportHoldConfirmed(id);
        break;
    case LinphoneCallStateEnd:
    case LinphoneCallStateError:
        finishRecording(id);
        reportCallEnded(id, record);
        endTransferLegsOf(call);
        break;
    case LinphoneCallStateReleased: {
        finishRecording(id);
        reportCallEnded(id, record);
        endTransferLegsOf(call);
        std::error_code error;
        if (!record.recordFile.empty())
            std::filesystem::remove(record.recordFile, error);
        linphone_call_unref(record.call);
        calls_.erase(id);
        std::erase_if(transferLegs_,
                      [call](const TransferLeg& leg) { return leg.original == call; });
        break;
    }
    default:
        break;
    }
}

void LinphoneEngine::reportCallEnded(int callId, Call& record)
{
    if (record.ended)
        return;
    record.ended = true;
    callbacks().reportCallState(callId, ORVANTA_CALL_DISCONNECTED);
}

void LinphoneEngine::answerCall(int callId, int code)
{
    Call* record = findCall(callId);
    if (!record || !record->incoming || record->ended || record->answeredReported ||
        linphone_call_get_state(record->call) != LinphoneCallStateIncomingReceived)
        return;
    if (code == 0 || (code >= 200 && code < 300)) {
        LinphoneCallParams* params = callParams(record->call, callId);
        linphone_call_accept_with_params(record->call, params);
        linphone_call_params_unref(params);
    } else if (code >= 300) {
        linphone_call_decline(record->call,
                              code == 486 ? LinphoneReasonBusy : LinphoneReasonDeclined);
    }
}

void LinphoneEngine::releaseCall(int callId)
{
    for (auto& leg : transferLegs_) {
        if (leg.legId == callId && !leg.ended) {
            leg.ended = true;
            callbacks().reportCallState(leg.legId, ORVANTA_CALL_DISCONNECTED);
            return;
        }
    }
    Call* record = findCall(callId);
    if (!record || record->ended || !record->call)
        return;
    if (record->incoming &&
        linphone_call_get_state(record->call) == LinphoneCallStateIncomingReceived)
        linphone_call_decline(record->call, LinphoneReasonDeclined);
    else
        linphone_call_terminate(record->call);
}

void LinphoneEngine::holdCall(int callId)
{
    Call* record = findCall(callId);
    if (record && !record->ended && record->call)
        linphone_call_pause(record->call);
}

void LinphoneEngine::retrieveCall(int callId)
{
    Call* record = findCall(callId);
    if (record && !record->ended && record->call)
        linphone_call_resume(record->call);
}

void LinphoneEngine::sendDtmf(int callId, char digit)
{
    Call* record = findCall(callId);
    if (record && !record->ended && record->call)
        linphone_call_send_dtmf(record->call, digit);
}

// ---- transfer ----

void LinphoneEngine::transferCall(int callId, int legId, const std::string& target)
{
    Call* record = findCall(callId);
    LinphoneAddress* address = parseAddress(target);
    if (!record || record->ended || !record->call || !address) {
        if (address)
            linphone_address_unref(address);
        reportCallEndedWithoutCall(legId);
        return;
    }
    transferLegs_.push_back(TransferLeg{legId, record->call, false, false,
                                        std::chrono::steady_clock::now() + kTransferBound});
    callbacks().reportCallState(legId, ORVANTA_CALL_CALLING);
    const LinphoneStatus status = linphone_call_transfer_to(record->call, address);
    linphone_address_unref(address);
    if (status != 0) {
        for (auto& leg : transferLegs_) {
            if (leg.legId == legId && !leg.ended) {
                leg.ended = true;
                callbacks().reportCallState(legId, ORVANTA_CALL_DISCONNECTED);
            }
        }
    }
}

void LinphoneEngine::transferStateChanged(LinphoneCall* call, LinphoneCallState state)
{
    TransferLeg* leg = nullptr;
    for (auto& candidate : transferLegs_) {
        if (candidate.original == call && !candidate.ended)
            leg = &candidate;
    }
    if (!leg)
        return;
    if (state == LinphoneCallStateConnected && !leg->connected) {
        leg->connected = true;
        callbacks().reportCallState(leg->legId, ORVANTA_CALL_ANSWERING);
        callbacks().reportCallState(leg->legId, ORVANTA_CALL_CONNECTED);
    } else if (state == LinphoneCallStateError) {
        leg->ended = true;
        callbacks().reportCallState(leg->legId, ORVANTA_CALL_DISCONNECTED);
    }
}

void LinphoneEngine::checkTransferDeadlines()
{
    const auto now = std::chrono::steady_clock::now();
    for (auto& leg : transferLegs_) {
        if (!leg.ended && !leg.connected && now >= leg.deadline) {
            leg.ended = true;
            callbacks().reportCallState(leg.legId, ORVANTA_CALL_DISCONNECTED);
        }
    }
}

// The transferor's part in a leg ends with the call it transferred.
void LinphoneEngine::endTransferLegsOf(LinphoneCall* original)
{
    for (auto& leg : transferLegs_) {
        if (leg.original == original && !leg.ended) {
            leg.ended = true;
            callbacks().reportCallState(leg.legId, ORVANTA_CALL_DISCONNECTED);
        }
    }
}

// ---- conference ----

void LinphoneEngine::conference()
{
    // Without a registered account the SIP stack's local conference
    // crashes when a member leaves, so none is made.
    if (registeredAccounts_ == 0)
        return;
    std::vector<LinphoneCall*> members;
    for (auto& [id, record] : calls_) {
        if (record.call && !record.ended && record.connectedReported &&
            isLive(linphone_call_get_state(record.call)))
            members.push_back(record.call);
    }
    if (members.size() < 2)
        return;
    LinphoneConference* conference = linphone_core_get_conference(core_);
    if (!conference) {
        LinphoneConferenceParams* params = linphone_core_create_conference_params(core_);
        linphone_conference_params_enable_video(params, FALSE);
        linphone_conference_params_enable_local_participant(params, TRUE);
        conference = linphone_core_create_conference_with_params(core_, params);
        linphone_conference_params_unref(params);
        if (!conference)
            return;
    }
    for (LinphoneCall* call : members) {
        if (!linphone_call_get_conference(call))
            linphone_conference_add_participant(conference, call);
    }
}

// ---- recording ----

void LinphoneEngine::startRecording(int callId, const std::filesystem::path& target)
{
    Call* record = findCall(callId);
    if (!record || record->ended || !record->call || record->recordFile.empty())
        return;
    if (recording_)
        finishRecording(recording_->callId);
    linphone_call_start_recording(record->call);
    recording_ = Recording{callId, target};
}

void LinphoneEngine::stopRecording()
{
    if (recording_)
        finishRecording(recording_->callId);
}

void LinphoneEngine::finishRecording(int callId)
{
    if (!recording_ || recording_->callId != callId)
        return;
    const auto target = recording_->target;
    recording_.reset();
    Call* record = findCall(callId);
    if (!record)
        return;
    if (record->call)
        linphone_call_stop_recording(record->call);
    std::error_code error;
    if (std::filesystem::exists(record->recordFile, error))
        moveFile(record->recordFile, target);
}

// ---- codecs ----

void LinphoneEngine::setCodecPriority(const std::string& codec, int priority)
{
    priorities_.set(codec, priority);
    applyCodecOrder();
}

void LinphoneEngine::applyCodecOrder()
{
    bctbx_list_t* types = linphone_core_get_audio_payload_types(core_);
    std::vector<CodecPriorities::Codec> available;
    std::map<std::string, LinphonePayloadType*> byName;
    for (bctbx_list_t* item = types; item; item = bctbx_list_next(item)) {
        auto* type = static_cast<LinphonePayloadType*>(bctbx_list_get_data(item));
        const std::string name = codecName(type);
        if (!byName.emplace(name, type).second)
            continue;
        available.push_back({name, linphone_payload_type_enabled(type) == TRUE});
    }
    const auto arranged = priorities_.arrange(available);
    bctbx_list_t* ordered = nullptr;
    std::vector<std::string> names;
    for (const auto& codec : arranged) {
        LinphonePayloadType* type = byName.at(codec.name);
        linphone_payload_type_enable(type, codec.enabled ? TRUE : FALSE);
        ordered = bctbx_list_append(ordered, type);
        names.push_back(codec.name);
    }
    linphone_core_set_audio_payload_types(core_, ordered);
    bctbx_list_free(ordered);
    bctbx_list_free_with_data(types,
                              reinterpret_cast<bctbx_list_free_func>(linphone_payload_type_unref));
    std::lock_guard lock(codecNamesMutex_);
    codecNames_ = std::move(names);
}

std::vector<std::string> LinphoneEngine::codecNames() const
{
    std::lock_guard lock(codecNamesMutex_);
    return codecNames_;
}

// ---- messages ----

void LinphoneEngine::sendMessage(int accountId, const std::string& recipient,
                                 const std::string& text)
{
    Account* account = findAccount(accountId);
    LinphoneAddress* remote = account ? parseAddress(recipient) : nullptr;
    if (!remote)
        return;
    const LinphoneAddress* local =
        linphone_account_params_get_identity_address(linphone_account_get_params(account->account));
    LinphoneChatRoomParams* params = linphone_core_create_default_chat_room_params(core_);
    linphone_chat_room_params_set_backend(params, LinphoneChatRoomBackendBasic);
    linphone_chat_room_params_set_encryption_backend(params, LinphoneChatRoomEncryptionBackendNone);
    linphone_chat_room_params_enable_group(params, FALSE);
    bctbx_list_t* participants = bctbx_list_append(nullptr, remote);
    LinphoneChatRoom* room = linphone_core_create_chat_room_6(core_, params, local, participants);
    bctbx_list_free(participants);
    linphone_chat_room_params_unref(params);
    linphone_address_unref(remote);
    if (!room)
        return;
    LinphoneChatMessage* message = linphone_chat_room_create_message_from_utf8(room, text.c_str());
    linphone_chat_message_send(message);
    linphone_chat_message_unref(message);
}

// ---- SIP stack callbacks ----

void LinphoneEngine::onCallStateChanged(LinphoneCore* core, LinphoneCall* call,
                                        LinphoneCallState state, const char*)
{
    if (auto* engine = from(core)) {
        engine->endSleep();
        engine->callStateChanged(call, state);
    }
}

void LinphoneEngine::onRegistrationChanged(LinphoneCore* core, LinphoneAccount* account,
                                           LinphoneRegistrationState state, const char*)
{
    if (auto* engine = from(core)) {
        engine->endSleep();
        engine->registrationChanged(account, state);
    }
}

void LinphoneEngine::onTransferStateChanged(LinphoneCore* core, LinphoneCall* call,
                                            LinphoneCallState state)
{
    if (auto* engine = from(core)) {
        engine->endSleep();
        engine->transferStateChanged(call, state);
    }
}

void LinphoneEngine::onDtmfReceived(LinphoneCore* core, LinphoneCall* call, int digit)
{
    auto* engine = from(core);
    if (!engine || engine->shuttingDown_)
        return;
    if (const int id = engine->idOf(call))
        callbacks().reportDtmf(id, digit);
}

void LinphoneEngine::onMessageReceived(LinphoneCore* core, LinphoneChatRoom*,
                                       LinphoneChatMessage* message)
{
    auto* engine = from(core);
    if (!engine || engine->shuttingDown_)
        return;
    const char* text = linphone_chat_message_get_utf8_text(message);
    callbacks().reportMessage(bareUri(linphone_chat_message_get_from_address(message)),
                              text ? text : "");
}

}
