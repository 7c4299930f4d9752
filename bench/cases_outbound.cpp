// Cases whose texts come back from the client library to the host.
#include <benchmark/benchmark.h>

#include <climits>
#include <string>

#include "bench_texts.h"
#include "bridge/entries.h"
#include "case_factories.h"
#include "entry_call.h"
#include "host_work.h"

namespace vxbench {
namespace {

// Entry 33: the client answers with three texts, which come back converted through the out-parameters.
class GetJobStatusItem final : public CaseRun {
  public:
    explicit GetJobStatusItem(Session& s)
        : rec_(s.instance()),
          handle_(s.batch_handle()),
          client_(s.client<decltype(&acj_get_job_status_item)>("acj_get_job_status_item")),
          work_(s),
          answers_(short_utf8_texts(300, 3)) {
        JwAnswer answer{};
        answer.func = JW_acj_get_job_status_item;
        answer.out_count = 3;
        for (int i = 0; i < 3; ++i) answer.out_texts[i] = answers_[i].c_str();
        answer.ints_out_count = 1;
        answer.ints_out[0] = JOB_RUNNING;
        answer.times = INT_MAX;
        s.script(answer);
        for (int i = 0; i < 3; ++i) buffers_[i] = work_.buffer_for(Direction::outbound, answers_[i].c_str());
    }

    void entry() override {
        const char* texts[3] = {};
        int32_t state = 0;
        benchmark::DoNotOptimize(record_entry<decltype(&bridge_acj_get_job_status_item)>(rec_, 33)(
            rec_, 0, &texts[0], &texts[1], &state, &texts[2]));
        benchmark::DoNotOptimize(texts);
    }

    void baseline() override {
        const char* texts[3] = {};
        int32_t state = 0;
        const int32_t status = client_(handle_, 0, &texts[0], &texts[1], &state, &texts[2]);
        if (status == 0) {
            for (int i = 0; i < 3; ++i) texts[i] = work_.convert_into(Direction::outbound, texts[i], buffers_[i]);
        }
        benchmark::DoNotOptimize(status);
        benchmark::DoNotOptimize(texts);
    }

  private:
    BridgeInstance* rec_;
    AcjHandle handle_;
    decltype(&acj_get_job_status_item) client_;
    HostWork work_;
    std::vector<std::string> answers_;
    std::vector<char> buffers_[3];
};

// Entry 53: one long result converted into an outbound slot.
class OutputDataLong final : public CaseRun {
  public:
    explicit OutputDataLong(Session& s)
        : rec_(s.instance()),
          handle_(s.instance()->rta_handle),
          client_(s.client<decltype(&rta_output_data)>("rta_output_data")),
          work_(s),
          answer_text_(long_text(s, false)),
          buffer_(work_.buffer_for(Direction::outbound, answer_text_.c_str())) {
        JwAnswer answer{};
        answer.func = JW_rta_output_data;
        answer.text = answer_text_.c_str();
        answer.times = INT_MAX;
        s.script(answer);
    }

    void entry() override {
        benchmark::DoNotOptimize(record_entry<decltype(&bridge_rta_output_data)>(rec_, 53)(rec_, 0, 0));
    }

    void baseline() override {
        const char* text = client_(handle_, 0, 0);
        if (text != nullptr) text = work_.convert_into(Direction::outbound, text, buffer_);
        benchmark::DoNotOptimize(text);
    }

  private:
    BridgeInstance* rec_;
    RtaHandle handle_;
    decltype(&rta_output_data) client_;
    HostWork work_;
    std::string answer_text_;
    std::vector<char> buffer_;
};

}  // namespace

std::unique_ptr<CaseRun> make_get_job_status_item(Session& s) { return std::make_unique<GetJobStatusItem>(s); }
std::unique_ptr<CaseRun> make_output_data_long(Session& s) { return std::make_unique<OutputDataLong>(s); }

}  // namespace vxbench
