#pragma once

#include "Scenario.h"

#include <httplib.h>

#include <functional>
#include <string>

namespace orvanta::service {

class ServiceContext;

// The largest provisioning reply the dialer reads in one piece.
inline constexpr std::size_t kMaxProvisioningReply = 1025;

// The provisioning reply's JSON text for the scenario's values.
std::string provisioningReplyText(const Scenario& scenario);

// One function per served service; each registers its routes.
void registerProvisioning(httplib::Server& server, ServiceContext& context);
void registerPortal(httplib::Server& server, ServiceContext& context);
void registerWebApi(httplib::Server& server, ServiceContext& context);
void registerPages(httplib::Server& server, ServiceContext& context);
void registerAccountApi(httplib::Server& server, ServiceContext& context);
void registerSmsGateway(httplib::Server& server, ServiceContext& context);
// checkScenario tells whether a changed scenario can still be served.
void registerControl(httplib::Server& server, ServiceContext& context,
                     std::function<bool(const Scenario&, std::string&)> checkScenario);

// Paths of this process's own pages and services, used for the default
// provisioning addresses.
inline constexpr const char* kAccountApiPath = "/accountapi";
inline constexpr const char* kSmsPath = "/smsgateway";
inline constexpr const char* kSmsQueryTemplate = "?user=u1s1erzzto=d1n2u3mzzmsg=smstext";
inline constexpr const char* kSignUpPath = "/NewUserSignUp.jsp";
inline constexpr const char* kMyAccountsPath = "/myaccounts.jsp";
inline constexpr const char* kRechargePath = "/orecharge.jsp";

}
