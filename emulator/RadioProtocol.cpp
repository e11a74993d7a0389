#include "emulator/RadioProtocol.h"

using Kind = CRadioFault::Kind;

CRadioProtocol::CRadioProtocol(const RadioMemory::Bytes &memory)
    : m_Memory(memory)
{
}

bool CRadioProtocol::Faulty(Kind kind, int number) const
{
    for (const CRadioFault &fault : m_Faults) {
        if (fault.kind == kind && fault.Hits(number))
            return true;
    }
    return false;
}

bool CRadioProtocol::InTheMiddle() const
{
    return m_State != State::Linked && (m_State != State::Asleep || m_nWakeUpMatched > 0);
}

void CRadioProtocol::Abandon()
{
    m_State = State::Asleep;
    m_nWakeUpMatched = 0;
}

void CRadioProtocol::Receive(std::uint8_t byte, std::vector<std::uint8_t> &answer)
{
    switch (m_State) {
    case State::Asleep: Sleep(byte, answer); return;
    case State::AwaitMode:
        if (byte != kModeByte)
            break;
        answer.insert(answer.end(), kModeAnswer.begin(), kModeAnswer.end());
        if (Faulty(Kind::ModeShort, 1))
            answer.pop_back();
        m_State = State::AwaitConfirm;
        return;
    case State::AwaitConfirm:
        if (byte != kAck)
            break;
        if (Faulty(Kind::ConfirmNak, 1)) {
            answer.push_back(kNak);
            m_State = State::Asleep;
            return;
        }
        answer.push_back(kAck);
        m_State = State::Linked;
        ++m_nLinks;
        m_nReadFrames = m_nWriteFrames = 0;
        return;
    case State::Linked:
        if (byte != kRead && byte != kWrite)
            break;
        m_Frame[0] = byte;
        m_nFrameBytes = 1;
        m_State = State::FrameHeader;
        return;
    case State::FrameHeader:
        m_Frame[m_nFrameBytes++] = byte;
        if (m_nFrameBytes == m_Frame.size())
            FrameComplete(answer);
        return;
    case State::WriteData:
        m_Data[m_nDataBytes++] = byte;
        if (m_nDataBytes == static_cast<std::size_t>(Length()))
            StoreWrite(answer);
        return;
    case State::AwaitReadAck:
        if (byte != kAck)
            break;
        answer.push_back(m_bNakReadAck ? kNak : kAck);
        m_State = m_bNakReadAck ? State::Asleep : State::Linked;
        return;
    }
    // Anything unexpected puts the radio back to sleep; the byte may start the next wake-up.
    m_State = State::Asleep;
    m_nWakeUpMatched = 0;
    Sleep(byte, answer);
}

void CRadioProtocol::Sleep(std::uint8_t byte, std::vector<std::uint8_t> &answer)
{
    if (byte == kWakeUp[m_nWakeUpMatched])
        ++m_nWakeUpMatched;
    else
        m_nWakeUpMatched = byte == kWakeUp[0] ? 1 : 0;
    if (m_nWakeUpMatched == kWakeUp.size()) {
        m_nWakeUpMatched = 0;
        WakeUpComplete(answer);
    }
}

void CRadioProtocol::WakeUpComplete(std::vector<std::uint8_t> &answer)
{
    ++m_nWakeUps;
    if (Faulty(Kind::WakeUpSilent, m_nWakeUps))
        return;
    if (Faulty(Kind::WakeUpNak, m_nWakeUps)) {
        answer.push_back(kNak);
        return;
    }
    answer.push_back(kAck);
    m_State = State::AwaitMode;
}

void CRadioProtocol::FrameComplete(std::vector<std::uint8_t> &answer)
{
    // The radio moves at most one 16-byte row per frame, never across a row boundary.
    const bool valid = Length() >= 1 && Length() <= kMaxBlock && Address() % kMaxBlock + Length() <= kMaxBlock
        && Address() + Length() <= RadioMemory::kSize;
    if (!valid) {
        // A frame the radio cannot serve: a write is refused, a read goes unanswered.
        if (m_Frame[0] == kWrite)
            answer.push_back(kNak);
        m_State = State::Linked;
        return;
    }
    if (m_Frame[0] == kRead) {
        AnswerRead(answer);
        return;
    }
    m_nDataBytes = 0;
    m_State = State::WriteData;
}

void CRadioProtocol::AnswerRead(std::vector<std::uint8_t> &answer)
{
    const int number = ++m_nReadFrames;
    ++m_nReadFramesTotal;
    if (Faulty(Kind::ReadSilent, number)) {
        m_State = State::Asleep;
        return;
    }
    if (Faulty(Kind::ReadHeaderLate, number))
        m_Pause = CPause { answer.size(), CRadioFault::kLateHeaderMs };
    else if (Faulty(Kind::ReadHeaderSplit, number))
        m_Pause = CPause { answer.size() + CRadioFault::kSplitAfter, CRadioFault::kHeaderGapMs };
    if (Faulty(Kind::ReadHeader, number))
        answer.insert(answer.end(),
            { kWrite, static_cast<std::uint8_t>(~m_Frame[1]), static_cast<std::uint8_t>(~m_Frame[2]), 0x00 });
    else
        answer.insert(answer.end(), m_Frame.begin(), m_Frame.end());
    const auto first = m_Memory.begin() + Address();
    answer.insert(answer.end(), first, first + Length());
    if (Faulty(Kind::ReadShort, number)) {
        answer.pop_back();
        m_State = State::Asleep;
        return;
    }
    m_bNakReadAck = Faulty(Kind::ReadNoAck, number);
    m_State = State::AwaitReadAck;
}

void CRadioProtocol::StoreWrite(std::vector<std::uint8_t> &answer)
{
    const int number = ++m_nWriteFrames;
    m_State = State::Linked;
    if (Faulty(Kind::WriteSilent, number)) {
        m_State = State::Asleep;
        return;
    }
    if (Faulty(Kind::WriteNak, number)) {
        answer.push_back(kNak);
        return;
    }
    ++m_nWriteFramesTotal;
    if (number == 1)
        ++m_nWriteLinks;
    if (!Faulty(Kind::WriteLost, number))
        std::copy(m_Data.begin(), m_Data.begin() + Length(), m_Memory.begin() + Address());
    answer.push_back(kAck);
}
