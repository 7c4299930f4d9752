#include "demo_texts.h"

namespace vxhost {
namespace {

// In order of preference: the first set an encoding can hold wins.
const DemoTexts kTextSets[] = {
    {
        "German, Spanish, French and Japanese",
        "jürgen",
        "geheim",
        "Monatsbericht",
        "läuft jede Nacht",
        "jürgen",
        {{"Straße", "München"}, {"住所", "東京都"}},
        "Archiv/Übersicht",
        {"Größe", "groß"},
        {"Stadt", "Straße"},
        {{"München", "Königstraße"}, {"東京 tokyo", "銀座通り ginza"}, {"Zürich", "Bahnhofstraße"}},
        "José María García",
        "山田",
        "ja",
    },
    {
        "German, Spanish and French",
        "jürgen",
        "geheim",
        "Monatsbericht",
        "läuft jede Nacht",
        "jürgen",
        {{"Straße", "München"}, {"Ort", "Köln"}},
        "Archiv/Übersicht",
        {"Größe", "groß"},
        {"Stadt", "Straße"},
        {{"München", "Königstraße"}, {"Köln", "Hohe Straße"}, {"Zürich", "Bahnhofstraße"}},
        "José María García",
        "Zoë",
        "fr",
    },
    {
        "Japanese",
        "山田",
        "himitsu",
        "月次レポート",
        "毎晩実行",
        "山田",
        {{"住所", "東京都"}, {"部署", "開発部"}},
        "アーカイブ/概要",
        {"年度", "令和6年"},
        {"都市", "通り"},
        {{"東京 tokyo", "銀座通り ginza"}, {"大阪 osaka", "御堂筋 midosuji"}, {"京都 kyoto", "四条通 shijo"}},
        "山田 太郎",
        "花子",
        "ja",
    },
    {
        "ASCII",
        "demo",
        "secret",
        "monthly-report",
        "runs every night",
        "demo",
        {{"street", "Main Street"}, {"city", "Springfield"}},
        "archive/summary",
        {"size", "large"},
        {"city", "street"},
        {{"Springfield", "Main Street"}, {"Shelbyville", "Oak Avenue"}, {"Ogdenville", "Elm Road"}},
        "Ada King Lovelace",
        "Ada",
        "en",
    },
};

}  // namespace

std::vector<const char*> all_texts(const DemoTexts& t) {
    std::vector<const char*> texts = {t.user,
                                      t.password,
                                      t.profile,
                                      t.comment,
                                      t.owner,
                                      t.job_pairs[0].first,
                                      t.job_pairs[0].second,
                                      t.job_pairs[1].first,
                                      t.job_pairs[1].second,
                                      t.arch_job,
                                      t.arch_pair.first,
                                      t.arch_pair.second,
                                      t.upper_fields[0],
                                      t.upper_fields[1],
                                      t.full_name,
                                      t.greeting_name,
                                      t.greeting_language};
    for (const auto& row : t.upper_rows) texts.insert(texts.end(), {row[0], row[1]});
    return texts;
}

const DemoTexts& demo_texts_for(const SessionEncoding& encoding) {
    for (const DemoTexts& set : kTextSets) {
        bool held = true;
        for (const char* text : all_texts(set)) held = held && encoding.can_hold(text);
        if (held) return set;
    }
    return kTextSets[std::size(kTextSets) - 1];
}

}  // namespace vxhost
