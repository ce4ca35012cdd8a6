#pragma once
// The configuration's keys in one table, as an operator writes them. The configuration reads every key
// through it, the resource compiler checks the document with it, and a test keeps the operator's guide
// complete against it.

enum class ConfigKey {
    UserClientAbout,
    ImClass,
    HomeUrl,
    GwUrl,
    GwLink,
    PaymentUrl,
    BbsUrl,
    KfUrl,
    GameCheck,
    LoginCheck,
    ConfigParam,
    UpdateKey,
    UserInfoUrl,
    PwKey,
    RunPlugin,
    QuitTip,
    Cache,
    NoRename,
    NoLink,
    NoGWLink,
};

struct ConfigKeyName {
    ConfigKey key;
    const char* name;
};

inline constexpr ConfigKeyName kConfigKeys[] = {
    {ConfigKey::UserClientAbout, "userClientAbout"},
    {ConfigKey::ImClass, "imClass"},
    {ConfigKey::HomeUrl, "homeUrl"},
    {ConfigKey::GwUrl, "gwUrl"},
    {ConfigKey::GwLink, "gwLink"},
    {ConfigKey::PaymentUrl, "paymentUrl"},
    {ConfigKey::BbsUrl, "bbsUrl"},
    {ConfigKey::KfUrl, "kfUrl"},
    {ConfigKey::GameCheck, "gameCheck"},
    {ConfigKey::LoginCheck, "loginCheck"},
    {ConfigKey::ConfigParam, "configParam"},
    {ConfigKey::UpdateKey, "updateKey"},
    {ConfigKey::UserInfoUrl, "userInfoUrl"},
    {ConfigKey::PwKey, "pwKey"},
    {ConfigKey::RunPlugin, "runPlugin"},
    {ConfigKey::QuitTip, "quitTip"},
    {ConfigKey::Cache, "cache"},
    {ConfigKey::NoRename, "noRename"},
    {ConfigKey::NoLink, "noLink"},
    {ConfigKey::NoGWLink, "noGWLink"},
};

constexpr const char* NameOf(ConfigKey key) {
    for (const ConfigKeyName& entry : kConfigKeys) {
        if (entry.key == key) {
            return entry.name;
        }
    }
    return "";
}
