#include "support/bridge_fixture.h"

#include <cctype>

namespace vxtest {

std::ostream& operator<<(std::ostream& out, const Session& s) {
    return out << s.deliverable.name << " in encoding " << s.encoding;
}

std::vector<Session> sessions(std::initializer_list<int32_t> encodings) {
    std::vector<Session> out;
    for (const Deliverable& d : kBothDeliverables) {
        for (int32_t e : encodings) out.push_back({d, e});
    }
    return out;
}

std::string session_name(const ::testing::TestParamInfo<Session>& info) {
    std::string name = std::string(info.param.deliverable.name) + "_";
    const simhost::EncodingInfo* e = simhost::find_encoding(info.param.encoding);
    for (const char* c = e != nullptr ? e->name : "unknown"; *c != '\0'; ++c) {
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    }
    return name;
}

void BridgeTest::SetUp() {
    deliverable = GetParam().deliverable;
    encoding = GetParam().encoding;
    lib = &load(deliverable);
    sim = lib->sim;
    sim->reset();
    int64_t major = 0;
    int64_t minor = 0;
    lib->vxextver(host.services(), &major, &minor);
}

void BridgeTest::TearDown() {
    if (rec != nullptr) destroy_instance();
    for (const auto& p : host.pools()) {
        EXPECT_TRUE(p->errors().empty()) << "pool misuse: " << p->errors().front();
    }
    EXPECT_TRUE(host.errors().empty()) << "host misuse: " << host.errors().front();
}

BridgeInstance* BridgeTest::make_instance() { return make_instance(GetParam().encoding); }

BridgeInstance* BridgeTest::make_instance(int32_t session_encoding) {
    encoding = session_encoding;
    host.set_session_encoding(session_encoding);
    rec = lib->make_instance(host.context(), nullptr);
    EXPECT_NE(rec, nullptr);
    return rec;
}

void BridgeTest::destroy_instance() {
    simhost::Pool* owner = simhost::Pool::from_record(rec->pool);
    ASSERT_EQ(ENTRY(rec, 6, bridge_destroy)(rec), 0);
    rec = nullptr;
    ASSERT_NE(owner, nullptr);
    EXPECT_TRUE(owner->destroyed());
    EXPECT_EQ(owner->live(), 0u);
}

const JwCall& BridgeTest::call(size_t index) const {
    const JwCall* c = sim->call(index);
    if (c == nullptr) {
        ADD_FAILURE() << "no client call " << index;
        static const JwCall none{};
        return none;
    }
    return *c;
}

std::string BridgeTest::session(const std::string& utf8_text) const {
    return simhost::convert(utf8_text, simhost::kUtf8, encoding);
}

std::string BridgeTest::utf8(const std::string& session_text) const {
    return simhost::convert(session_text, encoding, simhost::kUtf8);
}

}  // namespace vxtest
