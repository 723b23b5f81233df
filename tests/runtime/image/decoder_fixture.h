// A runtime heap and an initialised decoder registry for each test.
#pragma once
#include "runtime/image/image_decoder.h"
#include "tests/support/runtime_fixture.h"

class DecoderTest : public RuntimeTest {
  protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        ImageDecoder_Init();
        ImageDecoder_UseBmp();
        ImageDecoder_UsePng();
        ImageDecoder_UseJpeg();
    }
    void TearDown() override {
        ImageDecoder_Close();
        RuntimeTest::TearDown();
    }
};
