#pragma once

namespace orvis::postiva {

// Where the SMTP dialogue stands; the next reply is read against it.
enum class DialogueState {
  Idle,        // no dialogue
  Connecting,  // socket being opened
  Greeting,    // connected; HELO waits for the server's greeting
  HeloSent,    // waiting for the HELO reply
  MailFromSent,
  RcptToSent,
  DataSent,
  MessageSent,  // headers, body and end mark sent
  Accepted,     // the message accepted, the next command not sent yet
  QuitSent,
  RsetSent,  // after a refused command or a read timeout
};

}  // namespace orvis::postiva
