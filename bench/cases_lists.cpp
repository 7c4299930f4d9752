// Cases whose client answer is a list, copied into storage the host keeps until the next such call.
#include <benchmark/benchmark.h>

#include <climits>
#include <string>
#include <vector>

#include "bench_texts.h"
#include "bridge/entries.h"
#include "case_factories.h"
#include "entry_call.h"
#include "host_work.h"

namespace vxbench {
namespace {

// A response handle for scripted answers, which never look at it.
AcjResponse const kResponse = reinterpret_cast<AcjResponse>(0x5EC0);

// Entry 29: 100 job ids, each converted into a buffer of its own, the previous list freed.
class Joblist final : public CaseRun {
  public:
    static constexpr int kNames = 100;

    explicit Joblist(Session& s)
        : rec_(s.instance()),
          handle_(s.batch_handle()),
          client_(s.client<decltype(&acj_joblist)>("acj_joblist")),
          work_(s),
          names_(short_utf8_texts(1000, kNames)) {
        for (const std::string& name : names_) name_pointers_.push_back(name.c_str());
        JwAnswer answer{};
        answer.func = JW_acj_joblist;
        answer.list = name_pointers_.data();
        answer.list_length = kNames;
        answer.has_count = 1;
        answer.count = kNames;
        answer.times = INT_MAX;
        s.script(answer);
    }
    ~Joblist() override { release_list(); }

    void entry() override {
        int32_t count = 0;
        benchmark::DoNotOptimize(record_entry<decltype(&bridge_acj_joblist)>(rec_, 29)(rec_, -1, &count, 0));
        benchmark::DoNotOptimize(count);
    }

    void baseline() override {
        int32_t count = 0;
        const char** names = client_(handle_, -1, &count, 0);
        release_list();
        list_ = static_cast<char**>(work_.allocate(static_cast<uint64_t>(count) * sizeof(char*), POOL_FLAG_ARRAY));
        for (int32_t i = 0; i < count; ++i) list_[i] = work_.convert_to_new(Direction::outbound, names[i]);
        list_count_ = count;
        benchmark::DoNotOptimize(list_);
    }

  private:
    void release_list() {
        if (list_ == nullptr) return;
        for (int32_t i = 0; i < list_count_; ++i) work_.release(list_[i]);
        work_.release(list_);
        list_ = nullptr;
    }

    BridgeInstance* rec_;
    AcjHandle handle_;
    decltype(&acj_joblist) client_;
    HostWork work_;
    std::vector<std::string> names_;
    std::vector<const char*> name_pointers_;
    char** list_ = nullptr;
    int32_t list_count_ = 0;
};

// Entry 60: 20 outputs, a pointer array and a record block with each name and value in a buffer of its own.
class GetOutputs final : public CaseRun {
  public:
    static constexpr int kPairs = 20;

    explicit GetOutputs(Session& s)
        : rec_(s.instance()),
          client_(s.client<decltype(&acj_get_outputs)>("acj_get_outputs")),
          work_(s),
          texts_(short_utf8_texts(2000, 2 * kPairs)) {
        for (int i = 0; i < kPairs; ++i) pairs_.push_back({texts_[2 * i].c_str(), texts_[2 * i + 1].c_str()});
        JwAnswer answer{};
        answer.func = JW_acj_get_outputs;
        answer.pairs = pairs_.data();
        answer.pair_length = kPairs;
        answer.has_count = 1;
        answer.count = kPairs;
        answer.times = INT_MAX;
        s.script(answer);
    }
    ~GetOutputs() override { release_list(); }

    void entry() override {
        int32_t count = 0;
        benchmark::DoNotOptimize(record_entry<decltype(&bridge_acj_get_outputs)>(rec_, 60)(rec_, kResponse, &count));
    }

    void baseline() override {
        release_list();
        int32_t count = 0;
        NameValuePair** answer = client_(kResponse, &count);
        const auto n = static_cast<uint64_t>(count);
        list_ = static_cast<NameValuePair**>(work_.allocate(n * sizeof(NameValuePair*), 0));
        auto* block = static_cast<NameValuePair*>(work_.allocate(n * sizeof(NameValuePair), 0));
        for (int32_t i = 0; i < count; ++i) list_[i] = &block[i];
        for (int32_t i = 0; i < count; ++i) {
            block[i].name = work_.convert_to_new(Direction::outbound, answer[i]->name);
            block[i].value = work_.convert_to_new(Direction::outbound, answer[i]->value);
        }
        list_count_ = count;
        benchmark::DoNotOptimize(list_);
    }

  private:
    void release_list() {
        if (list_ == nullptr) return;
        for (int32_t i = 0; i < list_count_; ++i) {
            work_.release(list_[i]->name);
            work_.release(list_[i]->value);
        }
        work_.release(list_[0]);
        work_.release(list_);
        list_ = nullptr;
    }

    BridgeInstance* rec_;
    decltype(&acj_get_outputs) client_;
    HostWork work_;
    std::vector<std::string> texts_;
    std::vector<NameValuePair> pairs_;
    NameValuePair** list_ = nullptr;
    int32_t list_count_ = 0;
};

}  // namespace

std::unique_ptr<CaseRun> make_joblist(Session& s) { return std::make_unique<Joblist>(s); }
std::unique_ptr<CaseRun> make_get_outputs(Session& s) { return std::make_unique<GetOutputs>(s); }

}  // namespace vxbench
