// Everything the protocol does to the world outside it goes through here: the setup dialog,
// the headless tool and the tests each provide one.
#pragma once

#include <string>

#include "protocol/listing_output.h"

class ProtocolHost : public ListingOutput {
public:
    // Writes one whole frame to the serial object.
    virtual void WriteFrame(const std::string& frame) = 0;
    // Whether every frame sent gets its "[TX]" console line. Without it only the follow-up
    // frames of a ZEFA-102 upload are logged, as the terminal's own tools have always done.
    virtual bool LogsEveryFrame() const { return false; }
    // A message box with an OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // Status caption, control 1026.
    virtual void SetStatusCaption(const std::string& text) = 0;
    // Repaints the whole dialog without erasing, calendars included.
    virtual void Repaint() = 0;
    // The serial object's flag that makes the line framer join lines into one read reply.
    virtual int GetLongReply() = 0;
    virtual void SetLongReply(int value) = 0;
    // Lets the serial object's framer collect the next reply.
    virtual void RearmFramer() = 0;
    // The serial object's framer drops the part of a reply it holds (CComm::DiscardPartialReply).
    virtual void DiscardPartialReply() = 0;
};
