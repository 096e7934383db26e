// Settings rules of the serial component on a closed port, and its error texts; no device needed.
#include "serial/XComDrv.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <iterator>

namespace nvx {
namespace {

TEST(XComDrvDefaults, AsConstructed)
{
    TXComm comm;
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_EQ(comm.LockState(), 3);
    EXPECT_EQ(comm.DeviceName(), "COM2");
    EXPECT_EQ(comm.BaudRate(), br9600);
    EXPECT_EQ(comm.BaudValue(), 9600u);
    EXPECT_EQ(comm.DataControl().DataBits(), db8);
    EXPECT_EQ(comm.DataControl().Parity(), paNone);
    EXPECT_EQ(comm.DataControl().StopBits(), sb1);
    EXPECT_EQ(comm.Buffers().InputSize(), 2048);
    EXPECT_EQ(comm.Buffers().OutputSize(), 2048);
    EXPECT_EQ(comm.Buffers().InputTimeout(), 500);
    EXPECT_EQ(comm.Buffers().OutputTimeout(), 500);
    EXPECT_EQ(comm.EventChars().XonChar(), 17);
    EXPECT_EQ(comm.EventChars().XoffChar(), 19);
    EXPECT_EQ(comm.EventChars().EofChar(), 0);
    EXPECT_EQ(comm.EventChars().ErrorChar(), 0);
    EXPECT_EQ(comm.EventChars().EventChar(), 10);
    EXPECT_EQ(comm.Timeouts().ReadInterval(), 1u);
    EXPECT_EQ(comm.Timeouts().ReadMultiplier(), 0u);
    EXPECT_EQ(comm.Timeouts().ReadConstant(), 1u);
    EXPECT_EQ(comm.Timeouts().WriteMultiplier(), 0u);
    EXPECT_EQ(comm.Timeouts().WriteConstant(), 1u);
    EXPECT_EQ(comm.FlowControl(), fcNone);
    EXPECT_TRUE(comm.Options().Empty());
    EXPECT_TRUE(comm.DTRSettings().Empty());
    EXPECT_TRUE(comm.RTSSettings().Empty());
    EXPECT_TRUE(comm.XOnXOffSettings().Empty());
    EXPECT_EQ(comm.MonitorEvents(), (TDeviceEvents{deChar, deFlag, deOutEmpty}));
    EXPECT_EQ(comm.MonitorEvents().Mask(), 0x7u);
    EXPECT_TRUE(comm.Synchronize());
    EXPECT_EQ(comm.BytesReceived(), 0u);
    EXPECT_EQ(comm.BytesSent(), 0u);
}

TEST(XComDrvBaud, EveryTableRateSetsBaudValue)
{
    const std::uint32_t expected[] = {110,   300,   600,   1200,  2400,   4800,   9600,  14400,
                                      19200, 38400, 56000, 57600, 115200, 128000, 256000};
    for (int rate = br110; rate < brCustom; ++rate) {
        TXComm comm;
        comm.SetBaudRate(static_cast<TBaudRate>(rate));
        EXPECT_EQ(comm.BaudRate(), rate);
        EXPECT_EQ(comm.BaudValue(), expected[rate]) << "rate ordinal " << rate;
    }
}

TEST(XComDrvBaud, BaudValueCountsOnlyUnderCustom)
{
    TXComm comm;
    comm.SetBaudRate(br19200);
    comm.SetBaudValue(4800);
    EXPECT_EQ(comm.BaudValue(), 19200u);
    EXPECT_EQ(comm.BaudRate(), br19200);

    comm.SetBaudRate(brCustom);
    EXPECT_EQ(comm.BaudValue(), 19200u); // brCustom keeps the rate in force
    comm.SetBaudValue(4800);
    EXPECT_EQ(comm.BaudValue(), 4800u);
    EXPECT_EQ(comm.BaudRate(), brCustom);

    comm.SetBaudRate(br115200);
    EXPECT_EQ(comm.BaudValue(), 115200u);
}

TEST(XComDrvBuffers, SizesAreClamped)
{
    struct Row {
        std::uint16_t set, kept;
    };
    const Row rows[] = {{0, 128},     {100, 128},   {127, 128},    {128, 128},   {1000, 1000},
                        {4096, 4096}, {4097, 4096}, {10000, 4096}, {65535, 4096}};
    for (const Row& row : rows) {
        TXComm comm;
        comm.Buffers().SetInputSize(row.set);
        comm.Buffers().SetOutputSize(row.set);
        EXPECT_EQ(comm.Buffers().InputSize(), row.kept) << row.set;
        EXPECT_EQ(comm.Buffers().OutputSize(), row.kept) << row.set;
    }
}

TEST(XComDrvFlow, PresetsFillTheHandshakeSets)
{
    struct Row {
        TFlowControl flow;
        TCommOptions options;
        TDTRSettings dtr;
        TRTSSettings rts;
        TXOnXOffSettings xon;
    };
    const Row rows[] = {
        {fcNone, {}, {}, {}, {}},
        {fcRtsCts, {}, {fsDTREnabled}, {fsCTSOut, fsRTSHandshake}, {}},
        {fcDtrDsr, {}, {fsDSROut, fsDTREnabled}, {fsRTSEnabled}, {}},
        {fcSoftware, {}, {fsDTREnabled}, {}, {fsInX, fsOutX}},
        {fcNone, {coLeaveDTROpen}, {fsDTREnabled}, {}, {}},
        {fcRtsCts, {coLeaveDTROpen, coParityCheck}, {fsDTREnabled}, {fsCTSOut, fsRTSHandshake}, {}},
    };
    for (const Row& row : rows) {
        TXComm comm;
        comm.SetFlowControl(fcSoftware); // leftovers of an earlier preset must go
        comm.SetOptions(row.options);
        comm.SetFlowControl(row.flow);
        EXPECT_EQ(comm.DTRSettings(), row.dtr) << "flow " << row.flow;
        EXPECT_EQ(comm.RTSSettings(), row.rts) << "flow " << row.flow;
        EXPECT_EQ(comm.XOnXOffSettings(), row.xon) << "flow " << row.flow;
    }
}

TEST(XComDrvFlow, OptionsChangeOnClosedPortRederives)
{
    TXComm comm;
    comm.SetFlowControl(fcNone);
    comm.SetOptions({coLeaveDTROpen});
    EXPECT_EQ(comm.DTRSettings(), TDTRSettings{fsDTREnabled});
    comm.SetOptions({});
    EXPECT_TRUE(comm.DTRSettings().Empty());
}

TEST(XComDrvFlow, HandshakeSetsChangeOnlyUnderCustom)
{
    TXComm comm;
    comm.SetFlowControl(fcRtsCts);
    comm.SetRTSSettings({fsRTSEnabled});
    comm.SetDTRSettings({});
    comm.SetXOnXOffSettings({fsInX});
    EXPECT_EQ(comm.RTSSettings(), (TRTSSettings{fsCTSOut, fsRTSHandshake}));
    EXPECT_EQ(comm.DTRSettings(), TDTRSettings{fsDTREnabled});
    EXPECT_TRUE(comm.XOnXOffSettings().Empty());

    comm.SetFlowControl(fcCustom); // keeps the preset's sets
    EXPECT_EQ(comm.RTSSettings(), (TRTSSettings{fsCTSOut, fsRTSHandshake}));
    comm.SetRTSSettings({fsRTSEnabled});
    comm.SetXOnXOffSettings({fsOutX});
    EXPECT_EQ(comm.RTSSettings(), TRTSSettings{fsRTSEnabled});
    EXPECT_EQ(comm.XOnXOffSettings(), TXOnXOffSettings{fsOutX});
}

TEST(XComDrvFlow, DtrEnabledAndHandshakeExcludeEachOther)
{
    TXComm comm;
    comm.SetFlowControl(fcCustom);
    comm.SetDTRSettings({fsDTREnabled});
    comm.SetDTRSettings({fsDTREnabled, fsDTRHandshake}); // handshake is the new one: it wins
    EXPECT_EQ(comm.DTRSettings(), TDTRSettings{fsDTRHandshake});
    comm.SetDTRSettings({fsDTREnabled, fsDTRHandshake, fsDSROut}); // now enabled is the new one
    EXPECT_EQ(comm.DTRSettings(), (TDTRSettings{fsDTREnabled, fsDSROut}));

    comm.SetOptions({coLeaveDTROpen});
    comm.SetDTRSettings({fsDTRHandshake});
    EXPECT_EQ(comm.DTRSettings(), TDTRSettings{fsDTREnabled});
}

TEST(XComDrvClosed, OperationsRaiseNotOpened)
{
    TXComm comm;
    std::uint8_t byte = 0;
    std::string text;
    const std::function<void()> calls[] = {
        [&] { comm.Close(); },
        [&] { comm.InQueueCount(); },
        [&] { comm.OutQueueCount(); },
        [&] { comm.Read(&byte, 1, 0); },
        [&] { comm.Write(&byte, 1, 0); },
        [&] { comm.ReceiveChar(byte); },
        [&] { comm.ReceiveString(text); },
        [&] { comm.SendString("x"); },
        [&] { comm.WaitReadable(0); },
    };
    for (std::size_t i = 0; i < std::size(calls); ++i) {
        try {
            calls[i]();
            ADD_FAILURE() << "call " << i << " did not raise";
        } catch (const EDeviceError& error) {
            EXPECT_EQ(error.ErrorCode(), 1) << "call " << i;
            EXPECT_STREQ(error.what(), "Device not opened.");
        }
    }
    comm.SetRTS(); // ignored on a closed port, as the link expects
    comm.ClrRTS();
}

TEST(XComDrvClosed, DeviceNameChangesWhileClosed)
{
    TXComm comm;
    comm.SetDeviceName("ttyUSB0");
    EXPECT_EQ(comm.DeviceName(), "ttyUSB0");
}

TEST(XComErr, MessagesOfOsFailures)
{
    EXPECT_STREQ(DeviceOsError(DeviceErrorCode::ReadFailed, EIO).what(),
                 "Unable to read from port. (Win32 error 5: Input/output error)");
    const EDeviceError write = DeviceOsError(DeviceErrorCode::WriteFailed, EAGAIN);
    EXPECT_EQ(write.ErrorCode(), 11);
    EXPECT_STREQ(write.what(), "Unable to write to port. (Win32 error 11: Resource temporarily unavailable)");
    EXPECT_STREQ(DeviceError(DeviceErrorCode::AlreadyOpened).what(), "Device is allready opened.");
    EXPECT_EQ(CannotOpenError("COM7").ErrorCode(), 65535);
    EXPECT_STREQ(CannotOpenError("COM7").what(), "Cannot open device COM7");
}

} // namespace
} // namespace nvx
