// Cases whose texts go from the host to the client library.
#include <benchmark/benchmark.h>

#include <array>
#include <climits>
#include <string>

#include "bench_texts.h"
#include "bridge/entries.h"
#include "case_factories.h"
#include "entry_call.h"
#include "host_work.h"

namespace vxbench {
namespace {

// The client's answer for every call of `func`: a status and nothing else.
void answer_always(Session& s, JwFunc func, int64_t status) {
    JwAnswer answer{};
    answer.func = func;
    answer.result = status;
    answer.times = INT_MAX;
    s.script(answer);
}

// Entry 23: the record is replaced by the batch handle, nothing else happens.
class SetTimeout final : public CaseRun {
  public:
    explicit SetTimeout(Session& s)
        : rec_(s.instance()),
          handle_(s.batch_handle()),
          client_(s.client<decltype(&acj_set_timeout)>("acj_set_timeout")) {
        answer_always(s, JW_acj_set_timeout, 0);
    }

    void entry() override {
        benchmark::DoNotOptimize(record_entry<decltype(&bridge_acj_set_timeout)>(rec_, 23)(rec_, 30));
    }
    void baseline() override { benchmark::DoNotOptimize(client_(handle_, 30)); }

  private:
    BridgeInstance* rec_;
    AcjHandle handle_;
    decltype(&acj_set_timeout) client_;
};

// Entry 36: one text converted into a slot, then the client call.
class TerminateJob final : public CaseRun {
  public:
    TerminateJob(Session& s, std::string text)
        : rec_(s.instance()),
          handle_(s.batch_handle()),
          client_(s.client<decltype(&acj_terminate_job)>("acj_terminate_job")),
          work_(s),
          text_(std::move(text)),
          buffer_(work_.buffer_for(Direction::inbound, text_.c_str())) {
        answer_always(s, JW_acj_terminate_job, 0);
    }

    void entry() override {
        benchmark::DoNotOptimize(record_entry<decltype(&bridge_acj_terminate_job)>(rec_, 36)(rec_, text_.c_str()));
    }
    void baseline() override {
        benchmark::DoNotOptimize(client_(handle_, work_.convert_into(Direction::inbound, text_.c_str(), buffer_)));
    }

  private:
    BridgeInstance* rec_;
    AcjHandle handle_;
    decltype(&acj_terminate_job) client_;
    HostWork work_;
    std::string text_;
    std::vector<char> buffer_;
};

// Entry 30: five texts into the slots and a converted copy of three pairs for the call.
class RunProfJob final : public CaseRun {
  public:
    static constexpr int kTexts = 5;
    static constexpr int kPairs = 3;

    explicit RunProfJob(Session& s)
        : rec_(s.instance()),
          handle_(s.batch_handle()),
          client_(s.client<decltype(&acj_run_prof_job)>("acj_run_prof_job")),
          work_(s) {
        for (int k = 0; k < kTexts; ++k) texts_[k] = s.session_text(short_utf8(100 + k));
        for (int k = 0; k < 2 * kPairs; ++k) pair_texts_[k] = s.session_text(short_utf8(200 + k));
        for (int i = 0; i < kPairs; ++i) pairs_[i] = {pair_texts_[2 * i].c_str(), pair_texts_[2 * i + 1].c_str()};
        for (int k = 0; k < kTexts; ++k) buffers_[k] = work_.buffer_for(Direction::inbound, texts_[k].c_str());
        answer_always(s, JW_acj_run_prof_job, 0);
    }

    void entry() override {
        benchmark::DoNotOptimize(record_entry<decltype(&bridge_acj_run_prof_job)>(rec_, 30)(
            rec_, texts_[0].c_str(), texts_[1].c_str(), texts_[2].c_str(), 5, texts_[3].c_str(), texts_[4].c_str(),
            pairs_.data(), kPairs, &job_id_));
    }

    void baseline() override {
        const char* in[kTexts];
        for (int k = 0; k < kTexts; ++k) in[k] = work_.convert_into(Direction::inbound, texts_[k].c_str(), buffers_[k]);
        auto* copy = static_cast<NameValuePair*>(work_.allocate(kPairs * sizeof(NameValuePair), POOL_FLAG_ARRAY));
        for (int i = 0; i < kPairs; ++i) {
            copy[i].name = work_.convert_to_new(Direction::inbound, pairs_[i].name);
            copy[i].value = work_.convert_to_new(Direction::inbound, pairs_[i].value);
        }
        benchmark::DoNotOptimize(client_(handle_, in[0], in[1], in[2], 5, in[3], in[4], copy, kPairs, &job_id_));
        for (int i = 0; i < kPairs; ++i) {
            work_.release(copy[i].name);
            work_.release(copy[i].value);
        }
        work_.release(copy);
    }

  private:
    BridgeInstance* rec_;
    AcjHandle handle_;
    decltype(&acj_run_prof_job) client_;
    HostWork work_;
    std::array<std::string, kTexts> texts_;
    std::array<std::string, 2 * kPairs> pair_texts_;
    std::array<NameValuePair, kPairs> pairs_{};
    std::array<std::vector<char>, kTexts> buffers_;
    int32_t job_id_ = 0;
};

}  // namespace

std::unique_ptr<CaseRun> make_set_timeout(Session& s) { return std::make_unique<SetTimeout>(s); }

std::unique_ptr<CaseRun> make_terminate_job(Session& s) {
    return std::make_unique<TerminateJob>(s, s.session_text(short_utf8(1)));
}

std::unique_ptr<CaseRun> make_run_prof_job(Session& s) { return std::make_unique<RunProfJob>(s); }

std::unique_ptr<CaseRun> make_terminate_job_long(Session& s) {
    return std::make_unique<TerminateJob>(s, long_text(s, true));
}

}  // namespace vxbench
