#include "net/SmsGateway.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

using namespace orvanta;

TEST(SmsUrl, FillsTheTemplateWithEncodedValues)
{
    struct Case {
        const char* name;
        QString urlTemplate;
        QString user;
        QString number;
        QString text;
        std::string expected;
    };
    const QString gateway =
        QStringLiteral("http://h:9/smsgateway?user=u1s1erzzto=d1n2u3mzzmsg=smstext");
    const Case cases[] = {
        {"zz stands for each ampersand", gateway, "alice", "4420", "Hello",
         "http://h:9/smsgateway?user=alice&to=4420&msg=Hello"},
        {"ampersands, spaces and plus signs stay in their values", gateway, "alice", "+44 20",
         "Hi & bye=1", "http://h:9/smsgateway?user=alice&to=%2B44%2020&msg=Hi%20%26%20bye%3D1"},
        {"every occurrence is replaced", "x?a=smstextzzb=smstext", "u", "n", "t", "x?a=t&b=t"},
        {"inserted values are not searched again", gateway, "d1n2u3m", "smstext", "zz u1s1er",
         "http://h:9/smsgateway?user=d1n2u3m&to=smstext&msg=zz%20u1s1er"},
        {"placeholders are case-sensitive", "x?a=SMSTEXTZZb=U1S1ER", "u", "n", "t",
         "x?a=SMSTEXTZZb=U1S1ER"},
        {"text beyond ASCII is UTF-8", gateway, "alice", "1", QString::fromUtf8("café"),
         "http://h:9/smsgateway?user=alice&to=1&msg=caf%C3%A9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(smsUrl(c.urlTemplate, c.user, c.number, c.text), c.expected);
    }
}

TEST(SmsResponse, IsTheResponseStringWhenThereIsOne)
{
    const std::pair<QString, std::optional<QString>> cases[] = {
        {R"({"response":"Your Message Sent Successfully"})", "Your Message Sent Successfully"},
        {R"({"response":"Insufficient balance","cost":"0"})", "Insufficient balance"},
        {R"({"response":""})", ""},
        {R"({"response":1})", std::nullopt},
        {R"({"answer":"x"})", std::nullopt},
        {"Internal Server Error", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [reply, expected] : cases) {
        EXPECT_EQ(parseSmsResponse(reply), expected) << reply.toStdString();
    }
}

}
