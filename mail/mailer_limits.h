#pragma once
// How long alertmail may take, in one place: alertmail bounds every wait by
// these, and the monitor gives a mailer time clearly beyond them before it
// ends it as hung.

namespace orvis::mail {

// The TCP connect, up to the server's greeting.
constexpr long kAlertConnectTimeoutMs = 30'000;
// One attempt at one message: the session's set-up when it is new, the
// commands, the text and the refused transaction's RSET.
constexpr long kAlertMessageTimeoutMs = 60'000;
// The reply to QUIT at the end of the run.
constexpr long kAlertQuitTimeoutMs = 60'000;
// A message that a session the server ended cost goes out once more on a
// new session; nothing else is tried twice.
constexpr int kAlertAttemptsPerRecipient = 2;

// alertmail's own worst case for a group of `recipients`: every attempt at
// every message used to its limit, then the QUIT. Nothing else waits: a
// session the server ended, or one that stopped answering, is closed
// without QUIT, and a run stops at the first session that cannot be had.
// One recipient: 2 x 60 s + 60 s = 180 s.
constexpr long long alertMailerWorstCaseMs(long long recipients) {
  return recipients * kAlertAttemptsPerRecipient * kAlertMessageTimeoutMs + kAlertQuitTimeoutMs;
}

// Starting the program, reading its files and a busy machine.
constexpr long long kMailerMarginMs = 60'000;

// How long the monitor lets a mailer for `recipients` run before it ends it.
constexpr long long mailerTimeLimitMs(long long recipients) {
  return alertMailerWorstCaseMs(recipients) + kMailerMarginMs;
}

}  // namespace orvis::mail
