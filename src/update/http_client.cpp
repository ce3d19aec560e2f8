#include "update/http_client.h"

void ApplyRequestDefaults(IHttpClient& client) {
    HttpClientSettings& settings = client.Settings();
    settings.userAgent = "Mozilla/5.0";
    settings.httpVersion = "1.1";
    settings.accept = "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";
    settings.acceptLanguage = "fr,fr-fr;q=0.8,en-us;q=0.5,en;q=0.3";
    settings.timeoutSeconds = 3;
}

void ClearProxy(IHttpClient& client) {
    HttpClientSettings& settings = client.Settings();
    settings.proxyHost.clear();
    settings.proxyPort = 0;
    settings.proxyUser.clear();
    settings.proxyPassword.clear();
}

std::unique_ptr<IHttpClient> NewGetClient(IHttpClientOwner& owner, const std::string& url,
                                          std::size_t maxBodyBytes, std::string& body,
                                          HttpCompletion completion) {
    std::unique_ptr<IHttpClient> client = owner.CreateClient();
    ApplyRequestDefaults(*client);
    client->Settings().timeoutSeconds = 10;
    client->SetOnComplete(std::move(completion));
    ClearProxy(*client);
    client->Settings().url = url;
    client->Settings().maxBodyBytes = maxBodyBytes;
    client->SetDestination(&body);
    return client;
}

std::string FailureLogText(const IHttpClient& client, int error) {
    std::string text = "(";
    text += std::to_string(error);
    text += ')';
    if (const std::string what = client.FailureText(); !what.empty()) {
        text += ' ';
        text += what;
    }
    return text;
}
