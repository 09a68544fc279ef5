// Small HTML pages the dialer opens in the browser: the web API server's
// home page, the sign-up page and the account pages.
#include "ServiceContext.h"
#include "Services.h"

namespace orvanta::service {

namespace {

std::string page(const std::string& title, const std::string& text)
{
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + title +
           "</title></head><body><h1>" + title + "</h1><p>" + text + "</p></body></html>\n";
}

}

void registerPages(httplib::Server& server, ServiceContext& context)
{
    struct Page {
        const char* path;
        const char* endpoint;
        const char* title;
        const char* text;
    };
    static const Page pages[] = {
        {"/", "pages.home", "Orvanta", "Calls from your PC to any telephone."},
        {kSignUpPath, "pages.signup", "New user sign-up",
         "Sign-up is not available on this test service."},
        {kMyAccountsPath, "pages.myaccounts", "My account",
         "Account details of this test service."},
        {kRechargePath, "pages.orecharge", "Online recharge",
         "Online recharge is not available on this test service."},
    };
    for (const Page& p : pages) {
        server.Get(p.path,
                   [&context, &p](const httplib::Request& request, httplib::Response& response) {
                       context.serve(p.endpoint, request, response, {}, [&](Scenario&, LogFields&) {
                           return Reply{200, page(p.title, p.text), "text/html; charset=utf-8", {}};
                       });
                   });
    }
}

}
