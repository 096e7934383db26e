// The slot jobs the radio sensors and keyfobs pages share: the enrolment through the panel's learn
// mode, the delete of a slot and the write of the enrolled slots, each answer waited out in 500 ms
// slices. Link thread.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace nvx {

class FormModel;
class TDevVeltra;

// What a page brings to an enrolment: its slots, its words and what it shows; the answers and
// their order are the same for both pages.
struct PageEnrolment {
    int slots = 0;         // a slot the panel names beyond these is an error
    std::string name;      // "Брелок": "Брелок №3 не найден", "Брелок №3 успешно найден"
    std::string heldName;  // "брелок": "Этот брелок уже есть в памяти панели под номером 5"
    std::string error;     // shown and logged when the panel refuses the learn command
    std::function<void(int slot)> postEnrolled;  // queues the slot's button as enrolled
    // Optional: what else a found one shows, from the panel's answer.
    std::function<void(int slot, const std::string& answer)> postFound;
};

// Puts the panel into a learn mode ("+l=1" sensors, "+l=3" keyfobs) as WriteValue does, but a
// refusal is no success: a panel that answers "ERR" is not searching, and a learn command would
// then wait for an "OK" that never comes. A failure shows `error` in the search dialog (which
// would otherwise go on saying it searches) and logs it.
bool EnterLearnMode(TDevVeltra& device, const std::string& command, FormModel& dialog, const std::string& error);

// The enrolment job: commands locked, `enrol` run with a link failure logged as `error`, then the
// panel leaves learn mode ("+l=0") in every case.
void RunEnrolmentJob(TDevVeltra& device, const std::string& error, const std::function<void()>& enrol);

// Once learn mode is on: sends "+L" + learnValue and follows the answer, each outcome shown in
// the search dialog, until one decides or the abort state is set. An answer that the one is
// held in another slot sets the abort state. True when the panel found one for `slot`.
bool AwaitLearnAnswer(TDevVeltra& device, FormModel& dialog, int slot, const std::string& learnValue,
                      const PageEnrolment& page);

// The delete job: commands locked, `command` (the slot's free record) sent and waited out; "OK"
// runs `postFreed`, "ERR" logs `error`; then the panel returns to working mode.
void RunDeleteJob(TDevVeltra& device, const std::string& command, const std::string& error,
                  const std::function<void()>& postFreed);

// Sends the command `commandOf` gives each slot 1..slots (none: skipped) and waits out its
// answer, stopping at an abort; then returns the panel to working mode. A slot the panel refused
// keeps its old record there, so the write did not succeed: `error` is logged, as on a link failure.
void WriteSlots(TDevVeltra& device, int slots, const std::string& error,
                const std::function<std::optional<std::string>(int slot)>& commandOf);

}  // namespace nvx
